#include "platform/Desktop.h"

bool KeepTimerResolutionWhileHidden(IDesktop& desktop)
{
    // The control mask takes charge of the policy; its clear state bit says
    // "do not ignore the requests".
    const PowerThrottlingState state = {kPowerThrottlingCurrentVersion, kPowerThrottlingIgnoreTimerResolution, 0};
    return desktop.SetProcessPowerThrottling(state) != FALSE;
}
