#include "settings/SettingsFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ondrel {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    Settings Load() {
        Settings settings;
        InitSettings(settings, path_, 1080);
        TransferSettings(settings, path_, TransferLoad);
        return settings;
    }

    test::TempFolder folder_;
    std::filesystem::path path_ = folder_.path() / "Level.dat";
};

TEST_F(SettingsFileTest, NoFileGivesTheNormalDefaults) {
    Settings s = Load();
    EXPECT_EQ(s.Mode, IDM_DECIBEL);
    EXPECT_EQ(s.Power, 100);
    EXPECT_EQ(s.WinX, 50);
    EXPECT_EQ(s.WinY, 880);
    EXPECT_FALSE(s.MostTop);
    EXPECT_FALSE(s.NoFrame);
    EXPECT_FALSE(s.RedrawLow);
    EXPECT_TRUE(s.OnFilter);
    EXPECT_EQ(s.LevelSmooth, 1);
    EXPECT_EQ(s.DecreaseQuantity, 0);
    EXPECT_EQ(s.AnalogSize, (ViewSize{480, 120}));
    EXPECT_EQ(s.DecibelSize, (ViewSize{380, 70}));
    EXPECT_EQ(s.ScopeSize, (ViewSize{362, 128}));
    EXPECT_EQ(s.TraceSize, (ViewSize{360, 256}));
    EXPECT_EQ(s.Digital.DigitalSize, (ViewSize{360, 128}));
    EXPECT_EQ(s.Digital.BandSize, 0);
    EXPECT_FALSE(s.Digital.LeftReversal);
    EXPECT_FALSE(s.Digital.RightReversal);
    EXPECT_EQ(s.Digital.ColorStyle, 0);
}

TEST_F(SettingsFileTest, SmallSwitchSelectsOnlyTheSmallSizes) {
    Write("[MAIN]\nSMALL=1\n");
    Settings s = Load();
    EXPECT_EQ(s.AnalogSize, (ViewSize{240, 60}));
    EXPECT_EQ(s.DecibelSize, (ViewSize{190, 34}));
    EXPECT_EQ(s.ScopeSize, (ViewSize{181, 64}));
    EXPECT_EQ(s.TraceSize, (ViewSize{120, 83}));
    EXPECT_EQ(s.Digital.DigitalSize, (ViewSize{180, 64}));
    EXPECT_EQ(s.Mode, IDM_DECIBEL);
    EXPECT_EQ(s.Power, 100);

    Write("[MAIN]\nSMALL=0\n");
    EXPECT_EQ(Load().AnalogSize, (ViewSize{480, 120}));
}

TEST_F(SettingsFileTest, ValuesParseByTheCLibraryRulesWithoutRangeChecks) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"104", 104},
        {"  -17", -17},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"err", 0},
        {"ERR", 999}, // the sentinel: the value stays as it was
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"\t 5", 5},
        {"- 5", 0},
        {"0x1F", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ProfileFile file = ProfileFile::Parse(std::string("[MAIN]\nPOWER=") + c.text + "\n");
        int value = 999;
        TransferInt(value, file, "MAIN", "POWER", TransferLoad);
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(SettingsFileTest, ValueIsCutToItsFirst99Characters) {
    // Cut to 99 characters, "-000…05" loses its 5.
    ProfileFile file = ProfileFile::Parse("[MAIN]\nA=-" + std::string(98, '0') + "5\n");
    int value = 3;
    TransferInt(value, file, "MAIN", "A", TransferLoad);
    EXPECT_EQ(value, 0);
}

TEST_F(SettingsFileTest, LoadOverlaysKeysAndBoolsReadAnyNonZeroAsTrue) {
    Write("[MAIN]\nMODE=105\nMostTop=7\nNoFrame=0\nOnFilter=ERR\nPOWER=-3\n"
          "[SIZE]\nTRACEX=100000\nTRACEY=-5\n[DIGITAL]\nColorStyle=99\nLeftReversal=-1\n");
    Settings s = Load();
    EXPECT_EQ(s.Mode, IDM_SPECTRUM_SIMPLE);
    EXPECT_EQ(s.Digital.BandSize, 0);
    EXPECT_TRUE(s.MostTop);
    EXPECT_FALSE(s.NoFrame);
    EXPECT_TRUE(s.OnFilter);
    EXPECT_EQ(s.Power, -3);
    EXPECT_EQ(s.TraceSize, (ViewSize{100000, -5}));
    EXPECT_EQ(s.Digital.ColorStyle, 99);
    EXPECT_TRUE(s.Digital.LeftReversal);

    TransferSettings(s, path_, TransferSave);
    EXPECT_NE(Read().find("MostTop=1\n"), std::string::npos);
}

TEST_F(SettingsFileTest, SaveWritesExactlyTheStoredKeysInOrder) {
    Write("[MAIN]\nSMALL=1\nUnknown=5\n[EXTRA]\nX=1\n");
    Settings s = Load();
    s.Mode = IDM_TRACE;
    s.WinX = -20;
    s.Digital.RightReversal = true;
    s.Digital.BandSize = 15;
    ASSERT_TRUE(TransferSettings(s, path_, TransferSave));
    EXPECT_EQ(Read(), "[MAIN]\nMODE=106\nPOWER=100\nREDRAWLOW=0\nWIN_X=-20\nWIN_Y=880\n"
                      "MostTop=0\nNoFrame=0\nLevelSmooth=1\nDecreaseQuantity=0\nOnFilter=1\n"
                      "[SIZE]\nANALOGX=240\nANALOGY=60\nDECIBELX=190\nDECIBELY=34\n"
                      "SCOPEX=181\nSCOPEY=64\nTRACEX=120\nTRACEY=83\nDIGITALX=180\n"
                      "DIGITALY=64\n[DIGITAL]\nLeftReversal=0\nRightReversal=1\nColorStyle=0\n");

    Settings again = Load();
    EXPECT_EQ(again.Mode, IDM_TRACE);
    EXPECT_EQ(again.WinX, -20);
    EXPECT_TRUE(again.Digital.RightReversal);
    EXPECT_EQ(again.AnalogSize, (ViewSize{240, 60}));
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileInPlace) {
    Write("[MAIN]\nMODE=104\n");
    // A folder where the new file would be written makes the write fail.
    std::filesystem::create_directory(path_.string() + ".new");
    Settings s = Load();
    s.Mode = IDM_SCOPE;
    EXPECT_FALSE(TransferSettings(s, path_, TransferSave));
    EXPECT_EQ(Read(), "[MAIN]\nMODE=104\n");
}

TEST_F(SettingsFileTest, PathIsBesideTheProgramOrInTheUserConfigWhenThatIsNotWritable) {
    EXPECT_EQ(SettingsPathFor(folder_.path()), folder_.path() / "Program Data" / "Level.dat");
    EXPECT_TRUE(std::filesystem::is_directory(folder_.path() / "Program Data"));

    // A program "folder" that is a plain file cannot hold the settings folder.
    const std::filesystem::path notAFolder = folder_.path() / "program";
    std::ofstream(notAFolder) << "x";
    const std::filesystem::path config = folder_.path() / "config";
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::filesystem::path fallback = SettingsPathFor(notAFolder);
    old ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(fallback, config / "ondrel" / "Level.dat");
    EXPECT_TRUE(std::filesystem::is_directory(config / "ondrel"));

    EXPECT_EQ(SettingsPath().filename(), "Level.dat");
}

TEST_F(SettingsFileTest, AwkwardFilesLoadWithoutHarm) {
    const std::string cases[] = {
        std::string("\0\0\0[MAIN]\0MODE=3", 16),
        "\xEF\xBB\xBF[MAIN]\r\nMODE=103\r\nPOWER=250",
        "[MAIN]\nMODE=" + std::string(100000, '9') + "\n",
        std::string(10 * 1024 * 1024, '['),
        "[MAIN]\nMODE=1\n[MAIN]\nMODE=2\nMODE=3\n",
    };
    for (const std::string& text : cases) {
        Write(text);
        Settings s = Load();
        EXPECT_EQ(s.ScopeSize, (ViewSize{362, 128}));
    }
    Write(cases[1]);
    EXPECT_EQ(Load().Mode, IDM_SPECTRUM_DETAIL);
    EXPECT_EQ(Load().Power, 250);
    Write(cases[2]);
    EXPECT_EQ(Load().Mode, INT_MAX);
    Write(cases[4]);
    EXPECT_EQ(Load().Mode, 1);
}

} // namespace
} // namespace ondrel
