// ondrel-render end to end: the real program on small generated WAV files.

#include "TempFolder.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace ondrel {
namespace {

using test::WavBytes;
using test::WriteFile;

struct Result {
    int status;
    std::string errors;
};

class RenderToolTest : public ::testing::Test {
protected:
    Result Run(const std::string& arguments) {
        const std::string errors = (folder_.path() / "stderr.txt").string();
        const std::string command =
            std::string(ONDREL_RENDER) + " " + arguments + " >/dev/null 2>" + errors;
        const int raw = std::system(command.c_str());
        std::ifstream in(errors);
        std::stringstream text;
        text << in.rdbuf();
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
    }
    std::string Path(const std::string& name) const { return (folder_.path() / name).string(); }

    // `frames` stereo frames of a 1 kHz tone on the left and silence on the right.
    std::string Tone(const std::string& name, int frames) {
        std::vector<int16_t> samples;
        for (int i = 0; i < frames; ++i) {
            samples.push_back(
                static_cast<int16_t>(16000 * std::sin(2 * M_PI * 1000 * i / 22050.0)));
            samples.push_back(0);
        }
        WriteFile(Path(name), WavBytes(samples));
        return Path(name);
    }

    test::TempFolder folder_;
};

TEST_F(RenderToolTest, WritesTheViewAfterTheLastFrame) {
    const std::string input = Tone("tone.wav", 512 * 4);
    ASSERT_EQ(Run("--view scope --out " + Path("scope.png") + " " + input).status, 0);
    QImage picture(QString::fromStdString(Path("scope.png")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 362);
    EXPECT_EQ(picture.height(), 128);
    EXPECT_EQ(picture.pixel(300, 64) & 0xFFFFFF, 0xFFFFFFu); // the silent right channel

    ASSERT_EQ(Run("--view trace --size 200x100 --out " + Path("trace.png") + " " + input).status,
              0);
    EXPECT_EQ(QImage(QString::fromStdString(Path("trace.png"))).size(), QSize(200, 100));

    // The default view is the decibel meter; the analog meter at its stored size.
    ASSERT_EQ(Run("--out " + Path("decibel.png") + " " + input).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(Path("decibel.png"))).size(), QSize(380, 70));
    ASSERT_EQ(Run("--view analog --out " + Path("analog.png") + " " + input).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(Path("analog.png"))).size(), QSize(480, 120));
}

TEST_F(RenderToolTest, WritesOnePictureAndOneRowPerFrame) {
    const std::string input = Tone("tone.wav", 512 * 3 + 100); // a short last buffer
    std::filesystem::create_directory(Path("frames"));
    ASSERT_EQ(
        Run("--view spectrum --out " + Path("frames") + " --values " + Path("v.csv") + " " + input)
            .status,
        0);
    for (const char* name : {"frame-000001.png", "frame-000004.png"}) {
        EXPECT_TRUE(std::filesystem::exists(Path("frames/") + name)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("frames/frame-000005.png")));

    std::ifstream csv(Path("v.csv"));
    std::string line;
    int rows = 0;
    while (std::getline(csv, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 512);
        EXPECT_EQ(line.substr(0, line.find(',')), std::to_string(rows));
    }
    EXPECT_EQ(rows, 4);

    ASSERT_EQ(Run("--view trace --frames 2 --values " + Path("w.csv") + " - < " + input).status, 0);
    std::ifstream two(Path("w.csv"));
    rows = 0;
    while (std::getline(two, line)) {
        ++rows;
    }
    EXPECT_EQ(rows, 2);
}

TEST_F(RenderToolTest, ValuesShowTheToneAtItsBin) {
    // 43.06640625 Hz × 23 ≈ 990.5 Hz: a 1 kHz tone peaks at index 23.
    const std::string input = Tone("tone.wav", 512);
    ASSERT_EQ(Run("--view spectrum-detail --values " + Path("v.csv") + " " + input).status, 0);
    std::ifstream csv(Path("v.csv"));
    std::string cell;
    std::getline(csv, cell, ',');
    std::vector<double> left;
    for (int i = 0; i < 256 && std::getline(csv, cell, ','); ++i) {
        left.push_back(std::stod(cell));
        EXPECT_GE(cell.size(), 1u);
    }
    ASSERT_EQ(left.size(), 256u);
    const auto peak = std::max_element(
        left.begin(), left.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    EXPECT_EQ(peak - left.begin(), 23);
}

TEST_F(RenderToolTest, BadInputGetsOneClearLineAndStatus2) {
    WriteFile(Path("mono.wav"), WavBytes({1, 2, 3}, {1, 1, 22050, 16}));
    WriteFile(Path("44k.wav"), WavBytes({1, 2}, {1, 2, 44100, 16}));
    WriteFile(Path("8bit.wav"), WavBytes({1, 2}, {1, 2, 22050, 8}));
    WriteFile(Path("float.wav"), WavBytes({1, 2}, {3, 2, 22050, 16}));
    WriteFile(Path("short.wav"), WavBytes({1, 2}).substr(0, 30));
    WriteFile(Path("text.wav"), "hello, this is not a wave file at all");
    WriteFile(Path("empty.wav"), WavBytes({}));
    const std::string tone = Tone("tone.wav", 512);
    struct Case {
        std::string arguments;
        std::string says;
    };
    const Case cases[] = {
        {Path("missing.wav"), "cannot open"},
        {Path("mono.wav"), "1 channels: expected 2"},
        {Path("44k.wav"), "44100 Hz: expected 22050 Hz"},
        {Path("8bit.wav"), "8-bit samples"},
        {Path("float.wav"), "unsupported format 3"},
        {Path("short.wav"), "truncated header"},
        {Path("text.wav"), "not a WAV file"},
        {Path("empty.wav") + " --view scope", "no frames"},
        {"--bogus " + tone, "unknown option --bogus"},
        {"--view nonsense " + tone, "unknown view nonsense"},
        {"--view scope --size 0x5 " + tone, "--size 0x5"},
        {"--view scope --size big " + tone, "--size big"},
        {"--view scope --frames -3 " + tone, "--frames -3"},
        {"--view scope --out " + Path("x.jpg") + " " + tone, "expected a .png"},
        {"--view scope --settings " + Path("none.dat") + " " + tone, "no such settings file"},
        {"--view", "needs a value"},
        {"", "no input file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Result result = Run(c.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.errors.rfind("ondrel-render: ", 0), 0u) << result.errors;
        EXPECT_NE(result.errors.find(c.says), std::string::npos) << result.errors;
        EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
    }
    EXPECT_EQ(Run("--help").status, 0);
}

TEST_F(RenderToolTest, StoredViewAndSizeComeFromTheSettingsFile) {
    WriteFile(Path("Level.dat"), "[MAIN]\nMODE=107\n[SIZE]\nSCOPEX=150\nSCOPEY=60\n");
    const std::string tone = Tone("tone.wav", 512);
    ASSERT_EQ(
        Run("--settings " + Path("Level.dat") + " --out " + Path("s.png") + " " + tone).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(Path("s.png"))).size(), QSize(150, 60));
}

} // namespace
} // namespace ondrel
