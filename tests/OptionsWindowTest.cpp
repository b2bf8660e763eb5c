// The options window on Qt's offscreen platform.

#include "options/OptionsWindow.h"

#include "TempFolder.h"
#include "app/capture/CaptureBuffers.h"
#include "app/capture/ScriptedCaptureDevice.h"
#include "dsp/FramePipeline.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <fstream>
#include <sstream>

namespace ondrel {

class OptionsWindowTest : public QObject {
    Q_OBJECT

    // Clicks a check box or radio button on its indicator, as a user would.
    static void Click(QAbstractButton* button) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect indicator = button->style()->subElementRect(
            qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonIndicator
                                                : QStyle::SE_CheckBoxIndicator,
            &option, button);
        QTest::mouseClick(button, Qt::LeftButton, {}, indicator.center());
    }

    static Settings Defaults(const std::filesystem::path& file) {
        Settings settings;
        InitSettings(settings, file, 1080);
        TransferSettings(settings, file, TransferLoad);
        return settings;
    }

private slots:
    void firstStartShowsTheDefaults() {
        test::TempFolder folder;
        Settings settings = Defaults(folder.path() / "Level.dat");
        OptionsWindow window(settings);
        QVERIFY(!window.isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(window.windowTitle(), QString::fromUtf8("Ondrel オプションウィンドウ"));
        QCOMPARE(window.gain()->value(), 100);
        QCOMPARE(window.gainValue()->text(), QStringLiteral("1.000000"));
        QVERIFY(!window.redrawLow()->isChecked());
        QVERIFY(window.onFilter()->isChecked());
        QVERIFY(window.smoothing(1)->isChecked());
        QVERIFY(!window.smoothing(0)->isChecked() && !window.smoothing(2)->isChecked());
        QVERIFY(window.speed(0)->isChecked());
        QVERIFY(!window.leftReversal()->isChecked() && !window.rightReversal()->isChecked());
        QCOMPARE(window.colourStyle()->currentText(), QString::fromUtf8("クラシック表示"));
        QCOMPARE(window.colourStyle()->count(), 9);
        QCOMPARE(window.colourStyle()->itemText(8), QString::fromUtf8("カラーグラデーション - 4"));
        QCOMPARE(window.gain()->geometry(), QRect(5, 20, 200, 22));
        QCOMPARE(window.colourStyle()->geometry().topLeft(), QPoint(5, 210));
        QVERIFY(window.width() >= 230 && window.height() >= 232);
    }

    void gainOutOfRangeIsClampedWithoutShowingTheWindowAndSaved() {
        test::TempFolder folder;
        const std::filesystem::path file = folder.path() / "Level.dat";
        std::ofstream(file) << "[MAIN]\nPOWER=1500\n[DIGITAL]\nColorStyle=42\n";
        Settings settings = Defaults(file);
        QCOMPARE(settings.Power, 1500);
        OptionsWindow window(settings);
        QCOMPARE(settings.Power, 1500); // the first update comes from the event loop
        QCoreApplication::processEvents();
        QCOMPARE(settings.Power, 1000);
        QCOMPARE(window.gainValue()->text(), QStringLiteral("10.000000"));
        QCOMPARE(window.colourStyle()->currentIndex(), -1);
        QCOMPARE(settings.Digital.ColorStyle, 42);
        TransferSettings(settings, file, TransferSave);
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        QVERIFY(text.str().find("POWER=1000\n") != std::string::npos);

        window.gain()->setValue(0);
        QCOMPARE(window.gainValue()->text(), QStringLiteral("0.000000"));
        QCOMPARE(settings.Power, 0);
    }

    void anyClickStoresEveryButton() {
        test::TempFolder folder;
        Settings settings = Defaults(folder.path() / "Level.dat");
        OptionsWindow window(settings);
        window.ShowNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Controls changed without a click store nothing ...
        window.leftReversal()->setChecked(true);
        window.smoothing(2)->setChecked(true);
        QVERIFY(!settings.Digital.LeftReversal);
        QCOMPARE(settings.LevelSmooth, 1);
        // ... until any button is clicked: then all of them are read.
        Click(window.speed(1));
        QVERIFY(window.speed(1)->isChecked());
        QCOMPARE(settings.DecreaseQuantity, 1);
        QVERIFY(settings.Digital.LeftReversal);
        QCOMPARE(settings.LevelSmooth, 2);
        Click(window.redrawLow());
        QVERIFY(settings.RedrawLow);
        Click(window.onFilter());
        QVERIFY(!settings.OnFilter);
        Click(window.smoothing(0));
        QCOMPARE(settings.LevelSmooth, 0);

        window.colourStyle()->setCurrentIndex(3); // programmatic: no choice of the user
        QCOMPARE(settings.Digital.ColorStyle, 0);
        QTest::keyClick(window.colourStyle(), Qt::Key_Down);
        QCOMPARE(settings.Digital.ColorStyle, 4);
        QTest::keyClick(window.colourStyle(), Qt::Key_Up);
        QCOMPARE(window.colourStyle()->currentText(), QString::fromUtf8("火焔"));
        QCOMPARE(settings.Digital.ColorStyle, 3);
    }

    void closingHidesAndShowingKeepsEveryControl() {
        test::TempFolder folder;
        Settings settings = Defaults(folder.path() / "Level.dat");
        OptionsWindow window(settings);
        window.ShowNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.gain()->setValue(345);
        Click(window.rightReversal());
        window.close();
        QVERIFY(!window.isVisible());
        window.ShowNormal();
        QVERIFY(window.isVisible());
        QCOMPARE(window.gain()->value(), 345);
        QVERIFY(window.rightReversal()->isChecked());
        QCOMPARE(settings.Power, 345);
        QVERIFY(settings.Digital.RightReversal);
    }

    void gainZeroSilencesTheNextFrame() {
        class Paint : public PaintTarget {
        public:
            void RequestPaint() override {}
        };
        class Frames : public CaptureTarget {
        public:
            explicit Frames(FramePipeline& p) : pipeline(p) {}
            void OnCaptureBuffer(CaptureDevice& d, CaptureHeader& h) override {
                pipeline.ProcessCaptureBuffer(d, h);
            }
            FramePipeline& pipeline;
        };
        test::TempFolder folder;
        Settings settings = Defaults(folder.path() / "Level.dat");
        settings.Mode = IDM_SPECTRUM_DETAIL;
        settings.LevelSmooth = 0;
        SineWindowTable window;
        BuildSineWindowTable(window);
        Paint paint;
        FramePipeline pipeline(settings, window, paint);
        Frames frames(pipeline);
        ScriptedCaptureDevice device;
        CaptureBuffers buffers;
        buffers.OpenCapture(device, frames);
        device.Start();
        std::vector<unsigned char> loud(CaptureBufferBytes);
        for (size_t i = 0; i < loud.size(); ++i) {
            loud[i] = static_cast<unsigned char>(i * 37 + 11);
        }
        OptionsWindow options(settings);
        QCoreApplication::processEvents();
        device.Deliver(loud.data(), loud.size());
        double before = 0;
        for (double v : pipeline.binHistory().left) {
            before += std::abs(v);
        }
        QVERIFY(before > 1);
        options.gain()->setValue(0);
        device.Deliver(loud.data(), loud.size());
        for (double v : pipeline.binHistory().left) {
            QCOMPARE(v, 0.0);
        }
        buffers.FreeCaptureBuffers(device);
    }
};

} // namespace ondrel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ondrel::OptionsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OptionsWindowTest.moc"
