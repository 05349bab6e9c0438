// Placeholder until the platform layer lands.
#include "platform/DateText.h"
namespace zv {
std::string formatDate(DateTime) { return "1-1-2000"; }
std::string formatTime(DateTime) { return "00:00:00"; }
std::string formatDateTime(DateTime) { return "1-1-2000 00:00:00"; }
std::optional<DateTime> parseDateTime(std::string_view) { return std::nullopt; }
}  // namespace zv
