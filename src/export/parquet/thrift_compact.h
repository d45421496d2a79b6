// The Thrift compact protocol, as far as a writer of Parquet metadata needs it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin::parquet {

// The compact protocol's type codes of fields and list elements.
enum class CompactType : std::uint8_t {
  BooleanTrue = 1,
  BooleanFalse = 2,
  Byte = 3,
  I16 = 4,
  I32 = 5,
  I64 = 6,
  Double = 7,
  Binary = 8,
  List = 9,
  Set = 10,
  Map = 11,
  Struct = 12,
};

// Appends one Thrift value to a buffer. Fields carry their id as a difference from the
// previous field of the same struct, so every struct is opened and closed through this writer.
class CompactWriter {
 public:
  explicit CompactWriter(std::string& out) : out_(out) {}

  void FieldI32(std::int16_t id, std::int32_t value);
  void FieldI64(std::int16_t id, std::int64_t value);
  void FieldBool(std::int16_t id, bool value);
  void FieldBinary(std::int16_t id, std::string_view bytes);
  // The header of a struct-valued field; the struct's fields follow, then EndStruct.
  void FieldStruct(std::int16_t id);
  // The header of a list-valued field; `count` elements of `element` follow.
  void FieldList(std::int16_t id, CompactType element, std::size_t count);

  // A struct as a list element; its fields follow, then EndStruct.
  void BeginStruct();
  // Writes the struct's stop byte and returns to the enclosing struct's field ids.
  void EndStruct();

  void ElementI32(std::int32_t value) { PutZigZag(value); }
  void ElementBinary(std::string_view bytes);

 private:
  void FieldHeader(std::int16_t id, CompactType type);
  void PutZigZag(std::int64_t value);

  std::string& out_;
  std::int16_t lastId_ = 0;
  std::vector<std::int16_t> enclosingIds_;
};

}  // namespace quorlin::parquet
