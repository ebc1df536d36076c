#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TempDir.h"

namespace orsan::test {

// A private PostgreSQL cluster for one test suite or benchmark: initdb into
// a temporary folder, trust authentication, postgres listening on a free
// loopback port with its socket in the same folder. Run as the `postgres`
// user when the tests run as root (postgres refuses root). The destructor
// stops the server and removes the folder, also after a failed test.
class PgCluster {
public:
    // Throws std::runtime_error (with the server's log) when it cannot start.
    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // Stopping and starting again keeps the data and the port.
    void Stop();
    void Start();
    bool Running() const { return running_; }
    // SIGSTOP / SIGCONT to the postmaster and every backend: a server that
    // keeps its connections and answers nothing. Stop resumes it first.
    void Pause();
    void Resume();

    uint16_t Port() const { return port_; }
    // "host=127.0.0.1 port=P dbname=DB user=postgres"
    std::string Conninfo(const std::string& database = "postgres") const;
    std::string BinDir() const { return binDir_; }

private:
    int Run(const std::string& tool, const std::vector<std::string>& args) const;
    std::string Log() const;

    TempDir folder_;
    std::string binDir_;
    std::string dataDir_;
    std::string logFile_;
    uint16_t port_ = 0;
    bool asPostgresUser_ = false;
    bool running_ = false;
    bool paused_ = false;
};

}  // namespace orsan::test
