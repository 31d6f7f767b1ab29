#pragma once
#include <memory>
#include <vector>

namespace document {

// An ordered list that owns its objects: the list of main menus, a main menu's menu entries, a
// sub-menu's sub-entries. Iterating yields plain pointers; taking an object out hands its
// ownership to the caller. Each object knows its 1-based place in the list as its position,
// which renumber() sets again after insertions and removals.
template <typename T>
class OwnedList {
    using Storage = std::vector<std::unique_ptr<T>>;

public:
    class const_iterator {
    public:
        explicit const_iterator(typename Storage::const_iterator it) : m_it(it) {}
        T *operator*() const { return m_it->get(); }
        const_iterator &operator++() { ++m_it; return *this; }
        bool operator==(const const_iterator &other) const { return m_it == other.m_it; }
        bool operator!=(const const_iterator &other) const { return m_it != other.m_it; }

    private:
        typename Storage::const_iterator m_it;
    };

    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    T *at(int index) const { return m_items.at(size_t(index)).get(); }

    T *append(std::unique_ptr<T> object)
    {
        m_items.push_back(std::move(object));
        return m_items.back().get();
    }
    // index may be size(), which appends.
    T *insert(int index, std::unique_ptr<T> object)
    {
        return m_items.insert(m_items.begin() + index, std::move(object))->get();
    }
    std::unique_ptr<T> take(int index)
    {
        std::unique_ptr<T> object = std::move(m_items.at(size_t(index)));
        m_items.erase(m_items.begin() + index);
        return object;
    }
    // The index of object in this list, -1 when the list does not hold it.
    int indexOf(const T *object) const
    {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].get() == object)
                return int(i);
        }
        return -1;
    }
    void clear() { m_items.clear(); }

    // Positions 1, 2, 3, ... in list order.
    void renumber()
    {
        int position = 1;
        for (const auto &object : m_items)
            object->setPosition(position++);
    }

    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }

private:
    Storage m_items;
};

} // namespace document
