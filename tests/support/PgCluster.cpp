#include "PgCluster.h"

#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ChildProcess.h"

namespace orsan::test {

namespace fs = std::filesystem;

namespace {

// The newest server installed from Debian's packages.
std::string FindBinDir() {
    fs::path best;
    int bestVersion = -1;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const int version = std::atoi(entry.path().filename().c_str());
        if (version > bestVersion && fs::exists(entry.path() / "bin" / "initdb")) {
            best = entry.path() / "bin";
            bestVersion = version;
        }
    }
    if (best.empty())
        throw std::runtime_error("PostgreSQL is not installed (/usr/lib/postgresql/*/bin/initdb)");
    return best.string();
}

uint16_t FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    uint16_t port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0) ::close(fd);
    if (port == 0) throw std::runtime_error("no free loopback port");
    return port;
}

}  // namespace

PgCluster::PgCluster() : folder_("orsan-pg"), binDir_(FindBinDir()) {
    dataDir_ = (folder_.Path() / "data").string();
    logFile_ = (folder_.Path() / "server.log").string();
    asPostgresUser_ = ::geteuid() == 0;
    if (asPostgresUser_) {
        const passwd* user = ::getpwnam("postgres");
        if (!user) throw std::runtime_error("running as root, but there is no user postgres");
        if (::chown(folder_.Path().c_str(), user->pw_uid, user->pw_gid) != 0)
            throw std::runtime_error("cannot hand the cluster folder to postgres");
    }
    if (Run("initdb", {"-D", dataDir_, "-A", "trust", "-U", "postgres", "-E", "UTF8", "--no-locale",
                       "--no-sync"}) != 0)
        throw std::runtime_error("initdb failed");
    port_ = FreeLoopbackPort();
    Start();
}

PgCluster::~PgCluster() {
    try {
        Stop();
    } catch (...) {
        // A destructor must not throw; the folder goes all the same.
    }
}

int PgCluster::Run(const std::string& tool, const std::vector<std::string>& args) const {
    std::string program = binDir_ + "/" + tool;
    std::vector<std::string> all = args;
    if (asPostgresUser_) {
        all.insert(all.begin(), {"-u", "postgres", "--", program});
        program = "/usr/sbin/runuser";
    }
    ChildProcess process(program, all);
    process.CloseStdin();
    // Drains the output so the tool never blocks on a full pipe.
    while (process.ReadLine(std::chrono::seconds(120))) {
    }
    return process.WaitExit(std::chrono::seconds(120)).value_or(-1);
}

void PgCluster::Start() {
    if (running_) return;
    const std::string options = "-p " + std::to_string(port_) + " -k " + folder_.Path().string() +
                                " -c listen_addresses=127.0.0.1";
    if (Run("pg_ctl", {"-D", dataDir_, "-l", logFile_, "-o", options, "-w", "-t", "60", "start"}) !=
        0)
        throw std::runtime_error("postgres did not start:\n" + Log());
    running_ = true;
}

namespace {

// The postmaster (first line of postmaster.pid) and its children.
std::vector<pid_t> ServerProcesses(const std::string& dataDir) {
    std::ifstream pidFile(dataDir + "/postmaster.pid");
    pid_t postmaster = 0;
    pidFile >> postmaster;
    std::vector<pid_t> pids;
    if (postmaster <= 0) return pids;
    pids.push_back(postmaster);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // "pid (name) state ppid ...": the name may hold blanks, the ')' ends it.
        const size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 1));
        std::string state;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == postmaster) pids.push_back(std::atoi(entry.path().filename().c_str()));
    }
    return pids;
}

}  // namespace

void PgCluster::Pause() {
    for (pid_t pid : ServerProcesses(dataDir_)) ::kill(pid, SIGSTOP);
    paused_ = true;
}

void PgCluster::Resume() {
    for (pid_t pid : ServerProcesses(dataDir_)) ::kill(pid, SIGCONT);
    paused_ = false;
}

void PgCluster::Stop() {
    if (!running_) return;
    if (paused_) Resume();
    Run("pg_ctl", {"-D", dataDir_, "-m", "fast", "-w", "-t", "60", "stop"});
    running_ = false;
}

std::string PgCluster::Conninfo(const std::string& database) const {
    return "host=127.0.0.1 port=" + std::to_string(port_) + " dbname=" + database +
           " user=postgres";
}

std::string PgCluster::Log() const {
    std::ifstream in(logFile_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace orsan::test
