#include "app/MainWindow.h"

#include "RecordingWindowSystem.h"
#include "TempFolder.h"
#include "app/capture/CaptureErrors.h"
#include "app/capture/ScriptedCaptureDevice.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace ondrel {
namespace {

using test::RecordingWindowSystem;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        InitSettings(settings, path, 1080);
        BuildSineWindowTable(window);
    }

    // Makes the window as start-up does, after the settings were loaded.
    void Create(int openResult = CaptureOk) {
        device = std::make_unique<ScriptedCaptureDevice>(openResult);
        main = std::make_unique<MainWindow>(settings, path, window, *device, system);
        system.window = main.get();
        created = main->OnCreate();
        system.DeliverPosted();
    }
    void Frame() {
        std::vector<unsigned char> bytes(CaptureBufferBytes, 0);
        device->Deliver(bytes.data(), bytes.size());
    }

    test::TempFolder folder;
    std::filesystem::path path = folder.path() / "Level.dat";
    Settings settings;
    SineWindowTable window;
    RecordingWindowSystem system;
    std::unique_ptr<ScriptedCaptureDevice> device;
    std::unique_ptr<MainWindow> main;
    bool created = false;
};

TEST_F(MainWindowTest, CreationAppliesTheStoredViewAndStartsCaptureLast) {
    settings.Mode = IDM_SPECTRUM_SIMPLE;
    Create();
    ASSERT_TRUE(created);
    EXPECT_TRUE(device->started());
    EXPECT_EQ(settings.Digital.BandSize, 15);
    EXPECT_TRUE(system.Checked(IDM_SPECTRUM_SIMPLE));
    EXPECT_FALSE(system.Checked(IDM_DECIBEL));
    EXPECT_EQ(system.style, FramedStyle);
    EXPECT_EQ(system.client, (Rect{0, 0, 360, 128}));
    EXPECT_EQ(main->pipeline().currentViewSize(), &settings.Digital.DigitalSize);
    const std::vector<std::string> expected = {"RecomputeFrame show", "SetStyle 0x10CE0000",
                                               "ResizeWindow 368x159 notopmost",
                                               "RecomputeFrame show", "PostResize"};
    EXPECT_EQ(system.calls, expected);
}

TEST_F(MainWindowTest, MenuLayoutAfterExtending) {
    settings.MostTop = true;
    Create();
    EXPECT_EQ(system.MenuText(),
              "101* 102 103 104 105 106 107 - 110* 112 113 - 61456 - 61440 61472 - 61536 ");
    EXPECT_TRUE(system.topMost);
}

TEST_F(MainWindowTest, ViewCommandsCheckOneViewResizeAndReassertTopMost) {
    Create();
    struct Case {
        int command;
        ViewSize size;
        int bandSize;
    };
    settings.Digital.BandSize = 99;
    const Case cases[] = {
        {IDM_ANALOG, {480, 120}, 99},  {IDM_SPECTRUM_DETAIL, {360, 128}, 0},
        {IDM_SPECTRUM, {360, 128}, 5}, {IDM_SPECTRUM_SIMPLE, {360, 128}, 15},
        {IDM_TRACE, {360, 256}, 15},   {IDM_SCOPE, {362, 128}, 15},
        {IDM_DECIBEL, {380, 70}, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        system.calls.clear();
        EXPECT_EQ(main->HandleCommand(c.command), c.command);
        system.DeliverPosted();
        EXPECT_EQ(settings.Mode, c.command);
        EXPECT_EQ(settings.Digital.BandSize, c.bandSize);
        EXPECT_EQ(system.client, (Rect{0, 0, c.size.Width, c.size.Height}));
        for (int id = IDM_DECIBEL; id <= IDM_SCOPE; ++id) {
            EXPECT_EQ(system.Checked(id), id == c.command) << id;
        }
        EXPECT_EQ(system.calls.back(), "PostResize");
        EXPECT_NE(system.calls[1].find("notopmost"), std::string::npos);
    }
    main->HandleCommand(IDM_MOSTTOP);
    EXPECT_TRUE(settings.MostTop);
    EXPECT_TRUE(system.Checked(IDM_MOSTTOP));
    system.calls.clear();
    main->HandleCommand(IDM_TRACE);
    EXPECT_EQ(system.calls[1], "ResizeWindow 368x287 topmost");
    main->HandleCommand(IDM_MOSTTOP);
    EXPECT_FALSE(settings.MostTop);
    EXPECT_FALSE(system.Checked(IDM_MOSTTOP));
    EXPECT_FALSE(system.topMost);
    system.calls.clear();
    main->HandleCommand(IDM_OPTIONS);
    EXPECT_EQ(system.calls, std::vector<std::string>{"ShowOptionsWindow"});
}

TEST_F(MainWindowTest, FrameToggleReappliesTheViewAroundTheSameClientArea) {
    settings.Mode = IDM_SCOPE;
    Create();
    EXPECT_EQ(main->HandleCommand(IDM_NOFRAME), IDM_SCOPE);
    system.DeliverPosted();
    EXPECT_EQ(system.style, FramelessStyle);
    EXPECT_TRUE(system.Checked(IDM_NOFRAME));
    EXPECT_EQ(system.client, (Rect{0, 0, 362, 128}));
    EXPECT_EQ(settings.ScopeSize, (ViewSize{362, 128}));
    main->HandleCommand(IDM_NOFRAME);
    EXPECT_EQ(system.style, FramedStyle);
    EXPECT_EQ(system.client, (Rect{0, 0, 362, 128}));

    settings.Mode = NoView;
    EXPECT_EQ(main->HandleCommand(IDM_NOFRAME), NoView);
    settings.Mode = IDM_NOFRAME; // only an edited file can hold this: no endless recursion
    EXPECT_EQ(main->HandleCommand(IDM_NOFRAME), IDM_NOFRAME);
}

TEST_F(MainWindowTest, NoViewCreatesAnEmptyWindow) {
    settings.Mode = NoView;
    Create();
    EXPECT_TRUE(device->started());
    EXPECT_EQ(main->pipeline().currentViewSize(), nullptr);
    main->OnPaint();
    EXPECT_EQ(system.copies, 0);
    EXPECT_FALSE(main->paintToggle());
    for (int id = IDM_DECIBEL; id <= IDM_SCOPE; ++id) {
        EXPECT_FALSE(system.Checked(id));
    }
}

TEST_F(MainWindowTest, ProportionRuleOfTheAnalogMeter) {
    settings.Mode = IDM_ANALOG;
    Create();
    // Framed: 8 pixels of frame across, 31 down.
    struct Case {
        int edge;
        int width, height; // proposed client size
        int expectWidth, expectHeight;
    };
    const Case cases[] = {
        {WMSZ_LEFT, 403, 120, 403, 100},
        {WMSZ_RIGHT, 403, 50, 403, 100},
        {WMSZ_BOTTOM, 480, 90, 360, 90},
        {WMSZ_TOP, 100, 90, 360, 90},
        {WMSZ_BOTTOMRIGHT, 500, 100, 500, 125},
        {WMSZ_TOPLEFT, 300, 100, 400, 100},
        {WMSZ_TOPRIGHT, 400, 100, 400, 100},
        {WMSZ_BOTTOMLEFT, 401, 100, 401, 100},
        {0, 333, 77, 333, 77},
        {9, 333, 77, 333, 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        Rect proposed{100, 200, 100 + 8 + c.width, 200 + 31 + c.height};
        EXPECT_TRUE(main->OnSizing(c.edge, proposed));
        EXPECT_EQ(proposed.left, 100);
        EXPECT_EQ(proposed.top, 200);
        EXPECT_EQ(proposed.width() - 8, c.expectWidth);
        EXPECT_EQ(proposed.height() - 31, c.expectHeight);
    }
    main->HandleCommand(IDM_TRACE);
    Rect proposed{0, 0, 100, 100};
    EXPECT_TRUE(main->OnSizing(WMSZ_LEFT, proposed));
    EXPECT_EQ(proposed, (Rect{0, 0, 100, 100}));
}

TEST_F(MainWindowTest, SizeBookkeepingStoresRestoredSizesOnly) {
    settings.Mode = IDM_SPECTRUM;
    Create();
    system.client = Rect{0, 0, 500, 200};
    EXPECT_FALSE(main->OnSize(SIZE_MINIMIZED));
    EXPECT_EQ(settings.Digital.DigitalSize, (ViewSize{360, 128}));
    EXPECT_TRUE(main->OnSize(SIZE_RESTORED));
    EXPECT_EQ(settings.Digital.DigitalSize, (ViewSize{500, 200}));
    EXPECT_TRUE(main->pipeline().resizePending());
    Frame();
    EXPECT_EQ(main->pipeline().backBuffer().width(), 600);
    // The three spectrum views share the pair.
    main->HandleCommand(IDM_SPECTRUM_DETAIL);
    system.DeliverPosted();
    EXPECT_EQ(system.client, (Rect{0, 0, 500, 200}));
}

TEST_F(MainWindowTest, PaintsAlternateWithRedrawLowExceptForTheScope) {
    settings.RedrawLow = true;
    Create();
    Frame();
    std::vector<int> copies;
    for (int paint = 0; paint < 4; ++paint) {
        main->OnPaint();
        copies.push_back(system.copies);
    }
    EXPECT_EQ(copies, (std::vector<int>{0, 1, 1, 2}));
    main->HandleCommand(IDM_SCOPE);
    system.DeliverPosted();
    for (int paint = 0; paint < 3; ++paint) {
        main->OnPaint();
    }
    EXPECT_EQ(system.copies, 5);
    settings.RedrawLow = false;
    main->HandleCommand(IDM_TRACE);
    main->OnPaint();
    main->OnPaint();
    EXPECT_EQ(system.copies, 7);
}

TEST_F(MainWindowTest, CtrlShowsTheSizingBorderOnlyWhenFrameless) {
    Create();
    system.calls.clear();
    main->OnKeyDown(VK_CONTROL);
    main->OnKeyUp(VK_CONTROL);
    EXPECT_TRUE(system.calls.empty()); // framed: nothing

    main->HandleCommand(IDM_NOFRAME);
    system.DeliverPosted();
    main->OnKeyDown(VK_CONTROL);
    main->OnKeyDown(VK_CONTROL); // repeats set the same bit
    EXPECT_EQ(system.style, FramelessStyle | WS_THICKFRAME);
    main->OnKeyDown('A');
    main->OnKeyUp(VK_CONTROL);
    EXPECT_EQ(system.style, FramelessStyle);
    // A release whose press went elsewhere toggles the border on; the next press and release
    // take it off again.
    main->OnKeyUp(VK_CONTROL);
    EXPECT_EQ(system.style, FramelessStyle | WS_THICKFRAME);
    main->OnKeyDown(VK_CONTROL);
    main->OnKeyUp(VK_CONTROL);
    EXPECT_EQ(system.style, FramelessStyle);
}

TEST_F(MainWindowTest, PopupPostsTheChoiceAndDragStartsAMove) {
    Create();
    system.calls.clear();
    system.popupChoice = 0;
    main->OnRightButtonDown();
    system.popupChoice = IDM_TRACE;
    main->OnRightButtonDown();
    EXPECT_EQ(system.postedCommands, (std::vector<int>{0, IDM_TRACE}));
    EXPECT_EQ(system.calls[0], "TrackPopupMenu 300,400");
    main->OnSystemCommand(0);
    EXPECT_EQ(settings.Mode, IDM_DECIBEL);
    main->OnSystemCommand(IDM_TRACE);
    EXPECT_EQ(settings.Mode, IDM_TRACE);
    EXPECT_EQ(system.calls.back(), "Default 106");
    system.calls.clear();
    main->OnSystemCommand(SC_CLOSE);
    EXPECT_EQ(system.calls, std::vector<std::string>{"Default 61536"});
    system.calls.clear();
    main->OnLeftButtonDown();
    EXPECT_EQ(system.calls, (std::vector<std::string>{"SetMoveCursor", "StartSystemMove"}));
}

TEST_F(MainWindowTest, OpenErrorsShowTheirMessageAndQuit) {
    struct Case {
        int result;
        const char* contains;
    };
    const Case cases[] = {{MMSYSERR_BADDEVICEID, "MMSYSERR_BADDEVICEID"},
                          {MMSYSERR_ALLOCATED, "MMSYSERR_ALLOCATED"},
                          {MMSYSERR_NODRIVER, "MMSYSERR_NODRIVER"},
                          {MMSYSERR_NOMEM, "MMSYSERR_NOMEM"},
                          {WAVERR_BADFORMAT, "WAVERR_BADFORMAT"},
                          {MMSYSERR_ERROR, nullptr},
                          {3, nullptr},
                          {33, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        system = RecordingWindowSystem();
        Create(c.result);
        EXPECT_FALSE(created);
        EXPECT_EQ(system.quits, 1);
        EXPECT_EQ(system.messages.size(), c.contains ? 1u : 0u);
        if (c.contains) {
            EXPECT_NE(system.messages[0].find(c.contains), std::string::npos);
        }
        EXPECT_EQ(system.MenuText().find("101"), std::string::npos); // nothing else set up
        EXPECT_EQ(device->addCount, 0);
    }
    EXPECT_EQ(std::string(CaptureErrorMessage(MMSYSERR_ALLOCATED)),
              "エラーが発生しました。\n\nエラー内容：MMSYSERR_ALLOCATED\n"
              "指定されたリソースはすでに割り当てられています。\n\n"
              "ほかのプログラム(例：インスタントメッセンジャー等）が\n"
              "録音を開始していないかどうかを確認の上、\nプログラムを再起動してください。");
}

TEST_F(MainWindowTest, DestructionStopsCaptureThenSavesThePosition) {
    settings.Mode = IDM_TRACE;
    Create();
    Frame();
    system.position = Point{-7, 33};
    main->OnDestroy();
    EXPECT_EQ(device->stopCount, 1);
    EXPECT_EQ(device->queued(), 0u);
    EXPECT_EQ(system.quits, 1);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("MODE=106\n"), std::string::npos);
    EXPECT_NE(text.str().find("WIN_X=-7\nWIN_Y=33\n"), std::string::npos);
    EXPECT_FALSE(device->Deliver(std::vector<unsigned char>(2048).data(), 2048));
}

} // namespace
} // namespace ondrel
