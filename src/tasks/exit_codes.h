#pragma once

#include <cstdint>

// Exit codes with which Windows installers report success: 0, and the two codes of a
// successful installation that needs a restart (ERROR_SUCCESS_REBOOT_REQUIRED) or has
// started one (ERROR_SUCCESS_REBOOT_INITIATED). Every other code is a failure.
inline constexpr std::uint32_t kExitSuccess = 0;
inline constexpr std::uint32_t kExitSuccessRebootRequired = 3010;
inline constexpr std::uint32_t kExitSuccessRebootInitiated = 1641;

constexpr bool IsSuccessfulExitCode(std::uint32_t code) noexcept {
    return code == kExitSuccess || code == kExitSuccessRebootRequired || code == kExitSuccessRebootInitiated;
}
