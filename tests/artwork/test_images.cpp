#include "testmain.h"
#include "artwork/itemtypeimages.h"
#include "document/menuitems.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>

using namespace artwork;

namespace {

// How many pixels of the image are not fully transparent.
int paintedPixels(const QImage &image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    }
    return painted;
}

} // namespace

// The program's images: SVG resources drawn at the screen's device pixel ratio.
class ImagesTest : public QObject {
    Q_OBJECT

private slots:
    // Every image that the source code names is a resource, drawn at 1x and at 2x, as a pixmap
    // and as an icon, to its expected size in device pixels; the resources hold no other image.
    void everyNamedImageIsDrawnAtOneAndTwo()
    {
        const QMap<QString, QSize> sizes{
            {"banner.svg", {750, 50}},        {"item-types.svg", {16 * artwork::TreeImageCount, 16}},
            {"drop-allowed.svg", {32, 32}},   {"drop-refused.svg", {32, 32}},
            {"kavo-custom.svg", {32, 32}},    {"kavo-custom-24.svg", {24, 24}},   {"kavo-custom-16.svg", {16, 16}},
            {"new.svg", {16, 16}},            {"open.svg", {16, 16}},             {"save.svg", {16, 16}},
            {"save-as.svg", {16, 16}},        {"help.svg", {16, 16}},
        };
        QStringList named;
        const QRegularExpression resource(QStringLiteral("\":/images/([^\"]+)\""));
        QDirIterator sources(QStringLiteral(KAVO_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (sources.hasNext()) {
            for (const QRegularExpressionMatch &match : resource.globalMatch(QString::fromUtf8(testing::readFile(sources.next()))))
                named << match.captured(1);
        }
        named.removeDuplicates();
        named.sort();
        QCOMPARE(named, sizes.keys());
        QCOMPARE(QDir(QStringLiteral(":/images")).entryList(QDir::Files, QDir::Name), sizes.keys());

        for (auto image = sizes.cbegin(); image != sizes.cend(); ++image) {
            const QString file = QStringLiteral(":/images/") + image.key();
            for (qreal ratio : {1.0, 2.0}) {
                const QPixmap pixmap = svgPixmap(file, ratio);
                QCOMPARE(pixmap.size(), image.value() * ratio);
                QCOMPARE(pixmap.devicePixelRatio(), ratio);
                QVERIFY2(paintedPixels(pixmap.toImage()) > 0, qPrintable(file));
                QCOMPARE(QIcon(file).pixmap(image.value(), ratio).size(), image.value() * ratio);
            }
        }
    }

    // The strip is cut into its twelve images at 1x and at 2x: each is its square of the strip
    // drawn at that ratio, 16 device-independent pixels wide, painted and unlike the others. A
    // missing strip gives transparent images.
    void stripIsCutIntoItsImages()
    {
        const ItemTypeImages images;
        for (qreal ratio : {1.0, 2.0}) {
            const QImage strip = svgPixmap(ItemTypeImages::resourceStrip(), ratio).toImage();
            const int side = qRound(16 * ratio);
            QCOMPARE(strip.size(), QSize(side * artwork::TreeImageCount, side));
            QList<QImage> seen;
            for (int image = 0; image < artwork::TreeImageCount; ++image) {
                const QPixmap cut = images.pixmap(image, ratio);
                QCOMPARE(cut.devicePixelRatio(), ratio);
                QCOMPARE(cut.deviceIndependentSize(), QSizeF(16, 16));
                QCOMPARE(cut.toImage(), strip.copy(image * side, 0, side, side));
                QVERIFY2(paintedPixels(cut.toImage()) > side * side / 5, qPrintable(QString::number(image)));
                QVERIFY(!seen.contains(cut.toImage()));
                seen << cut.toImage();
            }
        }
        QVERIFY(images.pixmap(artwork::TreeImageCount).isNull());
        const QPixmap missing = ItemTypeImages(QStringLiteral(":/images/no-such-strip.svg")).pixmap(0, 2.0);
        QCOMPARE(missing.size(), QSize(32, 32));
        QCOMPARE(paintedPixels(missing.toImage()), 0);
    }

    // The program's icon at the sizes of the desktop's icon theme, 16, 24 and 48 pixels drawn from
    // the sources on their pixel grids, and the same icons built into the build tree's theme
    // folder beside the SVG.
    void applicationIconAtTheThemeSizes()
    {
        const QIcon icon = applicationIcon();
        for (int size : ApplicationIconSizes) {
            const QImage image = applicationIconImage(size).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY(paintedPixels(image) > size * size / 2);
            QCOMPARE(icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32), image);
            const QString built = QStringLiteral(KAVO_ICON_THEME_DIR "/%1x%1/apps/kavo-custom.png").arg(size);
            QCOMPARE(QImage(built).convertToFormat(QImage::Format_ARGB32), image);
        }
        const auto drawn = [](const char *file, qreal ratio) {
            QImage image = svgPixmap(QString::fromLatin1(file), ratio).toImage();
            image.setDevicePixelRatio(1.0);
            return image;
        };
        QCOMPARE(applicationIconImage(16), drawn(":/images/kavo-custom-16.svg", 1.0));
        QCOMPARE(applicationIconImage(24), drawn(":/images/kavo-custom-24.svg", 1.0));
        QCOMPARE(applicationIconImage(48), drawn(":/images/kavo-custom-24.svg", 2.0));
        QCOMPARE(applicationIconImage(64), drawn(":/images/kavo-custom.svg", 2.0));
        QCOMPARE(testing::readFile(QStringLiteral(KAVO_ICON_THEME_DIR "/scalable/apps/kavo-custom.svg")),
                 testing::readFile(QStringLiteral(":/images/kavo-custom.svg")));
    }
};
KAVO_TEST(ImagesTest)
#include "test_images.moc"
