// The failure of a driver call: its SQLSTATE and the message the client shows.
#pragma once

#include <stdexcept>
#include <string>

namespace quorlin::driver {

class SqlError : public std::runtime_error {
 public:
  SqlError(std::string sqlState, const std::string& message)
      : std::runtime_error(message), sqlState_(std::move(sqlState)) {}

  const std::string& SqlState() const { return sqlState_; }

 private:
  std::string sqlState_;
};

// The SQLSTATEs the driver raises itself.
namespace state {
inline constexpr const char* kGeneralError = "HY000";
inline constexpr const char* kMemory = "HY001";
inline constexpr const char* kSyntax = "42000";
inline constexpr const char* kTableNotFound = "42S02";
inline constexpr const char* kColumnNotFound = "42S22";
inline constexpr const char* kBadValue = "22018";
inline constexpr const char* kOutOfRange = "22003";
inline constexpr const char* kDateTimeOverflow = "22008";
inline constexpr const char* kTruncated = "01004";
inline constexpr const char* kOptionChanged = "01S02";
inline constexpr const char* kCannotConnect = "08001";
inline constexpr const char* kNotConnected = "08003";
inline constexpr const char* kNotImplemented = "HYC00";
inline constexpr const char* kInvalidCursorState = "24000";
inline constexpr const char* kSequenceError = "HY010";
inline constexpr const char* kBadColumnNumber = "07009";
inline constexpr const char* kRestrictedType = "07006";
inline constexpr const char* kBadAttribute = "HY092";
inline constexpr const char* kBadInfoType = "HY096";
inline constexpr const char* kBadBufferLength = "HY090";
inline constexpr const char* kBadFetchType = "HY106";
inline constexpr const char* kNullPointer = "HY009";
inline constexpr const char* kBadDescriptorField = "HY091";
inline constexpr const char* kBadTransactionCode = "HY012";
inline constexpr const char* kBadHandleType = "HY092";
}  // namespace state

}  // namespace quorlin::driver
