// Which installer exit codes count as a successful installation.
#include "tasks/exit_codes.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ExitCodes, SuccessAndRestartCodesSucceedEverythingElseFails) {
    const struct {
        std::uint32_t code;
        bool success;
    } cases[] = {
        {0, true},           {3010, true},  // ERROR_SUCCESS_REBOOT_REQUIRED
        {1641, true},                       // ERROR_SUCCESS_REBOOT_INITIATED
        {1, false},          {259, false},  // STILL_ACTIVE: the exit code could not be read
        {1602, false},                      // ERROR_INSTALL_USEREXIT
        {1603, false},                      // ERROR_INSTALL_FAILURE
        {1618, false},                      // ERROR_INSTALL_ALREADY_RUNNING
        {3011, false},                      // neighbours of the restart codes
        {3009, false},       {1640, false}, {1642, false}, {0x80070002, false},  // an HRESULT
        {0xFFFFFFFF, false},                                                     // -1
        {0x00010BC2, false},  // 3010 with a high bit set: no truncation
    };
    for (const auto& c : cases) EXPECT_EQ(IsSuccessfulExitCode(c.code), c.success) << c.code;
}

}  // namespace
