#pragma once
// What the serial programming protocol asks of the window it runs in: the port, the
// status line and progress bar, message boxes, the editor's step maximum and closing.
// The programming window implements it over its controls; tests implement it over a
// simulated controller.
#include <cstdint>
#include <string>
#include <vector>

// Message-box buttons and icons, and the answers, by the platform's numbers.
enum : unsigned {
    kBoxOk = 0x0,
    kBoxOkCancel = 0x1,
    kBoxYesNo = 0x4,
    kBoxIconError = 0x10,
    kBoxIconQuestion = 0x20,
};
enum : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

class BurnShell {
public:
    virtual ~BurnShell() = default;
    // Queues bytes on the port once its output buffer has room for `room` bytes, waiting
    // meanwhile (10 ms sleeps with the window's messages processed). Nothing is sent
    // when the port is closed or has failed, or once the window's close was asked for,
    // also while the send waited (the room may never come); the window's own flush on
    // closing goes out.
    virtual void SendBytes(const std::vector<uint8_t>& bytes, int room) = 0;
    // Queues bytes only when the output buffer has room for them now (and as above).
    virtual void SendIfRoom(const std::vector<uint8_t>& bytes) = 0;
    // Drops what the port holds and has not sent yet (the transfer was given up).
    virtual void DropOutput() = 0;
    // Waits that long, the window's messages processed.
    virtual void Pause(int ms) = 0;
    // The status line's whole caption.
    virtual void ShowStatus(const std::string& caption) = 0;
    virtual void ShowProgress(int min, int max, int position) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void HideProgress() = 0;
    // A modal message box; returns the answer (kAnswerOk, ...). Receive events and
    // ticks may run while it is on screen.
    virtual int ShowBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // Ends the message box on screen, if any, as if its OK button had been pressed: the
    // box this shell showed, found by its own window handle (never by its title, which
    // another window may carry).
    virtual void DismissBox() = 0;
    // The editor's step maximum (keep: the scenario keeps its steps).
    virtual void SetMaxSteps(int maxSteps, bool keep) = 0;
    // Closes the window; its close handler then calls the protocol's FormClose.
    virtual void CloseWindow() = 0;
};
