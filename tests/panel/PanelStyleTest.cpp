// The application style draws the menu bar's overflow icon itself, so that
// making the window reads no image file, and leaves every other icon alone.
#include <QFile>
#include <QToolButton>

#include "PanelFixture.h"
#include "PanelStyle.h"

namespace {

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

// Ink in the middle, and none in a margin of two pixels: what the strokes do
// not cover must stay see-through, not whatever the memory held.
bool inkedInsideOnly(const QImage& image) {
    bool inked = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool margin = qMin(x, y) < 2 || x >= image.width() - 2 || y >= image.height() - 2;
            const bool ink = qAlpha(image.pixel(x, y)) > 0;
            if (margin && ink) return false;
            inked = inked || ink;
        }
    }
    return inked;
}

}  // namespace

class PanelStyleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(new PanelStyle); }

    // Runs first: any image read earlier in the process would hide a regression.
    void windowStartsWithoutReadingImages() {
        PanelFixture panel;
        panel.writeIni(15, faders(1));
        panel.open();
        QVERIFY(panel.show());
        QVERIFY(!imagePluginLoaded());

        auto* overflow = panel.window->menuBar()->findChild<QToolButton*>(
            QStringLiteral("qt_menubar_ext_button"));
        QVERIFY(overflow);
        QVERIFY(inkedInsideOnly(overflow->icon().pixmap(16, 16).toImage()));
        QVERIFY(inkedInsideOnly(overflow->icon().pixmap(16, 16, QIcon::Disabled).toImage()));
    }

    void otherIconsComeFromThePlatformStyle() {
        QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).isNull());
    }
};

QTEST_MAIN(PanelStyleTest)
#include "PanelStyleTest.moc"
