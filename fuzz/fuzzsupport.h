#pragma once
// What the fuzz targets share: reading an input piece by piece, a scratch folder, and the check
// that ends the run with a message when an invariant does not hold.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzzing {

// Consumes an input from the front; past its end every byte reads as 0.
class Input {
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_pos >= m_size; }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // A number from 0 to n - 1 (n > 0).
    int below(int n) { return byte() % n; }
    bool flag() { return byte() & 1; }
    QByteArray bytes(size_t n);
    // Up to maxBytes bytes (the count from one byte) as UTF-8; invalid sequences read as U+FFFD.
    QString text(int maxBytes);
    QByteArray rest();

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A folder for the run's files, kept in memory where the system has /dev/shm (every write of
// the profile engine syncs its file); removed when the process ends.
QString scratchFolder();

// Line breaks, tabs, NUL and non-ASCII made visible, for messages.
QString visible(const QString &text);

// Ends the run (libFuzzer saves the input) when condition is false.
void check(bool condition, const QString &message);

} // namespace fuzzing
