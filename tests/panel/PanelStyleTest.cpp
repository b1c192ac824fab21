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

bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) return true;
        }
    }
    return false;
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
        QVERIFY(hasInk(overflow->icon().pixmap(16, 16).toImage()));
        QVERIFY(hasInk(overflow->icon().pixmap(16, 16, QIcon::Disabled).toImage()));
    }

    void otherIconsComeFromThePlatformStyle() {
        QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).isNull());
    }
};

QTEST_MAIN(PanelStyleTest)
#include "PanelStyleTest.moc"
