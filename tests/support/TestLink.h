#pragma once

#include "handset/LinkSettings.h"
#include "handset/ProtocolLog.h"

#include <memory>

// One protocol log for the whole test process, as a program keeps one.
inline std::shared_ptr<ProtocolLog> testLog()
{
    static const auto log = std::make_shared<ProtocolLog>();
    return log;
}

// The link settings a program would build from this process's environment (the
// tests point EDGEMARKS_DEVICE and the others at their handset), with the test's log.
inline LinkSettings testLink()
{
    LinkSettings settings = LinkSettings::fromEnvironment();
    settings.log = testLog();
    return settings;
}
