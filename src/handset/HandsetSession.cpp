#include "handset/HandsetSession.h"

#include "handset/FrameChannel.h"
#include "handset/LinkTexts.h"
#include "handset/ShiftJIS.h"
#include "handset/VedORovavException.h"

#include <cstring>

HandsetSession::~HandsetSession()
{
    try {
        Uncancellable closing(m_channel);
        logout();
    } catch (const VedORovavException&) {
        // The handset is gone; nothing more to tell it.
    }
}

void HandsetSession::probeTopScreen()
{
    for (int attempt = 1;; ++attempt) {
        if (m_channel.request(0, 0x101, "1", 1).startsWith("OK"))
            return;
        if (attempt == Attempts)
            throw VedORovavException(LinkTexts::NotTopScreen);
        m_channel.pause(RetryPauseMilliseconds);
    }
}

bool HandsetSession::login(const QString& password)
{
    probeTopScreen();
    m_loggedIn = true;

    const std::optional<QByteArray> converted = ShiftJIS::encode(password);
    if (!converted || converted->isEmpty() || converted->size() > 4)
        return false;
    char secret[5] = {};
    std::memcpy(secret, converted->constData(), size_t(converted->size()));
    FrameChannel::Reply answer;
    try {
        answer = m_channel.request(1, 0x201, secret, int(converted->size()), std::nullopt, true);
    } catch (...) {
        std::memset(secret, 0, sizeof secret);
        throw;
    }
    // The password's bytes do not stay in memory longer than they must.
    std::memset(secret, 0, sizeof secret);
    return answer.startsWith("OK");
}

void HandsetSession::logout()
{
    if (!m_loggedIn)
        return;
    // The flag drops first: a logout that cannot be written is not tried again.
    m_loggedIn = false;
    m_channel.sendCommand(0xFF, 0x102, "", 0);
}
