#pragma once
// Which of the window messenger's sends each thread is handling (Win32 only). The system
// does not tell a window procedure who sent it its message, so while a send to a window
// of another thread is on its way, that thread gets a pair of message hooks: one sees
// each message before the procedure runs, one after it has returned. A thread's record
// of the watched sends whose procedures it is inside is what answers whether it runs a
// window's procedure for that very message. Another message the thread handles counts
// only inside such a procedure (in a loop it runs); one from elsewhere that is the same
// to the letter (window, message and parameters at full width) cannot be told apart from
// the send.
// The hooks stay only while a send to that thread is on its way.
#include "serial/SioNotifyServices.h"

class SioWin32SentMessages {
public:
    // Watches the window's thread for message while it lives: put around the send.
    // Nothing is watched for a window of the calling thread or of another process.
    class Watch {
    public:
        explicit Watch(const SioSentMessage& message);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        unsigned long thread_ = 0;
        unsigned long long send_ = 0;
    };

    // Whether the calling thread is inside its window's procedure for message, sent
    // under a Watch that still lives (also deeper down, in a loop that procedure runs).
    static bool Runs(const SioSentMessage& message);
};
