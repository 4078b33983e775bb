#pragma once

#include <QString>

class FrameChannel;

// A logged-in conversation with the handset: the probe for its top screen, the
// password, and the logout, which follows every login however the conversation
// ends (a failure, a cancel, the destructor).
class HandsetSession
{
public:
    static constexpr int Attempts = 9;
    static constexpr int RetryPauseMilliseconds = 250;

    explicit HandsetSession(FrameChannel& channel) : m_channel(channel) {}
    ~HandsetSession();
    HandsetSession(const HandsetSession&) = delete;
    HandsetSession& operator=(const HandsetSession&) = delete;

    // Probes until the handset shows its top screen (Attempts times at most,
    // NotTopScreen after), then sends the password: true when the handset took
    // it. A password that cannot be sent (empty, over 4 bytes in Shift_JIS) is
    // refused without being sent.
    bool login(const QString& password);
    // The probe alone: the handset answers and shows its top screen, or
    // NotTopScreen after Attempts tries.
    void probeTopScreen();
    // Sends the logout once after a login; a logout that cannot be written is
    // not tried again.
    void logout();
    bool isLoggedIn() const { return m_loggedIn; }

private:
    FrameChannel& m_channel;
    bool m_loggedIn = false;
};
