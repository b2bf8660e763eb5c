#pragma once

// A private PulseAudio server for a test: its own runtime, state and home folders, a null
// sink "ondrel_test" (22050 Hz, stereo) whose monitor is the default source, and a silent
// player that keeps the sink rendering in small blocks. Clients find it through
// PULSE_SERVER, which Start sets. Everything is stopped by process id.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ondrel::test {

class PulseServer {
public:
    explicit PulseServer(std::filesystem::path folder) : folder_(std::move(folder)) {
        std::filesystem::create_directories(folder_);
        socket_ = (folder_ / "native").string();
    }
    ~PulseServer() { Stop(); }
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    static bool Available() { return std::system("command -v pulseaudio >/dev/null 2>&1") == 0; }

    // Starts the server (again, after Stop, on the same socket); false if it does not answer.
    bool Start() {
        const std::filesystem::path script = folder_ / "server.pa";
        std::ofstream(script) << "load-module module-native-protocol-unix auth-anonymous=1 socket="
                              << socket_ << "\n"
                              << "load-module module-null-sink sink_name=ondrel_test rate=22050 "
                                 "channels=2\n"
                              << "set-default-sink ondrel_test\n"
                              << "set-default-source ondrel_test.monitor\n";
        for (const char* sub : {"runtime", "state", "home"}) {
            std::filesystem::create_directories(folder_ / sub);
            std::filesystem::permissions(folder_ / sub, std::filesystem::perms::owner_all);
        }
        setenv("PULSE_SERVER", ("unix:" + socket_).c_str(), 1);
        server_ = Spawn({"pulseaudio", "-n", "-F", script.string(), "--daemonize=no",
                         "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                         "--enable-memfd=no", "--disable-shm=yes", "--log-target=stderr",
                         "--log-level=0"},
                        true);
        for (int i = 0; i < 100; ++i) {
            if (std::system("pactl info >/dev/null 2>&1") == 0) {
                silence_ = Spawn({"pacat", "--playback", "--device=ondrel_test",
                                  "--latency-msec=20", "/dev/zero"},
                                 false);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Plays the raw S16LE stereo 22050 Hz file at `path` into the sink; returns the player.
    pid_t Play(const std::string& path) {
        return Spawn({"pacat", "--playback", "--device=ondrel_test", "--format=s16le",
                      "--rate=22050", "--channels=2", "--latency-msec=20", path},
                     false);
    }

    void Stop() {
        End(silence_);
        End(server_);
        std::error_code ignored;
        std::filesystem::remove(socket_, ignored);
    }

    static void End(pid_t& pid) {
        if (pid > 0) {
            kill(pid, SIGTERM);
            int status = 0;
            waitpid(pid, &status, 0);
            pid = -1;
        }
    }

private:
    pid_t Spawn(const std::vector<std::string>& arguments, bool server) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (server) {
                setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);
                setenv("PULSE_STATE_PATH", (folder_ / "state").c_str(), 1);
                setenv("HOME", (folder_ / "home").c_str(), 1);
            }
            const std::string log = (folder_ / (server ? "server.log" : "player.log")).string();
            freopen(log.c_str(), "a", stderr);
            freopen("/dev/null", "w", stdout);
            std::vector<char*> argv;
            for (const std::string& a : arguments) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        return pid;
    }

    std::filesystem::path folder_;
    std::string socket_;
    pid_t server_ = -1;
    pid_t silence_ = -1;
};

} // namespace ondrel::test
