#include "app/SingleInstance.h"
#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

#include <utility>

// The first copy makes the mutex; a name taken, or refused because a copy
// run as administrator or by another account made it, means a copy runs.
TEST(SingleInstance, AMutexTakenOrRefusedMeansACopyRuns)
{
    CRecordingDesktop desktop;
    for (const auto& c : {std::make_pair(ERROR_SUCCESS, true), std::make_pair(ERROR_ALREADY_EXISTS, false),
                          std::make_pair(ERROR_ACCESS_DENIED, false)}) {
        desktop.mutexError = c.first;
        HANDLE mutex = nullptr;
        EXPECT_EQ(c.second, ClaimFirstInstance(desktop, L"vexo_unit_mutex", mutex)) << c.first;
        EXPECT_EQ(c.first != ERROR_ACCESS_DENIED, mutex != nullptr) << c.first;
        if (mutex)
            ::CloseHandle(mutex);
    }
}
