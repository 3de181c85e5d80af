#pragma once
// The built agganci program as a child process of the test (fork and exec), so that the test can kill it
// at a moment of its choosing, as a power cut or an impatient user would. Its output goes to a file in
// the folder it runs in.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace reliability {

class AgganciProcess {
public:
    AgganciProcess(const std::vector<std::string>& args, const std::filesystem::path& folder) {
        std::vector<std::string> all{AGGANCI_BIN};
        all.insert(all.end(), args.begin(), args.end());
        const std::string output = (folder / "agganci-output.txt").string();
        pid_ = fork();
        if (pid_ == -1) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (auto& a : all) argv.push_back(a.data());
            argv.push_back(nullptr);
            const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (chdir(folder.c_str()) != 0 || out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) _exit(126);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~AgganciProcess() {
        if (pid_ > 0 && !status_) Kill();
    }
    AgganciProcess(const AgganciProcess&) = delete;
    AgganciProcess& operator=(const AgganciProcess&) = delete;

    // SIGKILL, then the end of the process; true when the signal is what ended it (the program was still
    // running), false when it had finished on its own.
    bool Kill() {
        kill(pid_, SIGKILL);
        const int status = Wait();
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    // The program's end, as waitpid reports it.
    int Wait() {
        if (!status_) {
            int status = 0;
            while (waitpid(pid_, &status, 0) == -1 && errno == EINTR) {
            }
            status_ = status;
        }
        return *status_;
    }

    // True when the program ended by itself with exit code 0: the run went through and every article is there,
    // those a killed run had created already included (counted as already existing, not as failed).
    static bool WentThrough(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace reliability
