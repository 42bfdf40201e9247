#pragma once
// The simulated controller program started on the slave side of a fresh pty; the
// master side is the program's serial line. Stopped (SIGTERM) when destroyed.
#include <sys/types.h>

#include <string>
#include <vector>

class SimulatorProcess {
public:
    // program: the burnsim executable; options: its options after the device.
    SimulatorProcess(const std::string& program, const std::vector<std::string>& options);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool Ready() const { return ready_; }  // the program opened the line and said so
    int Line() const { return master_; }   // the program's side of the line
    // Stops the simulator and waits for it; true when it ended by itself cleanly.
    bool Stop();

private:
    int master_ = -1;
    int slave_ = -1;  // kept open so the line keeps its raw settings
    pid_t pid_ = -1;
    bool ready_ = false;
};
