#include "export/parquet/thrift_compact.h"

#include "export/parquet/varint.h"

namespace quorlin::parquet {

void CompactWriter::PutZigZag(std::int64_t value) {
  PutVarint(out_, (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
}

// A short header holds the id's distance from the previous field; a long one the id itself.
void CompactWriter::FieldHeader(std::int16_t id, CompactType type) {
  const int delta = id - lastId_;
  if (delta > 0 && delta <= 15) {
    out_.push_back(static_cast<char>((delta << 4) | static_cast<int>(type)));
  } else {
    out_.push_back(static_cast<char>(type));
    PutZigZag(id);
  }
  lastId_ = id;
}

void CompactWriter::FieldI32(std::int16_t id, std::int32_t value) {
  FieldHeader(id, CompactType::I32);
  PutZigZag(value);
}

void CompactWriter::FieldI64(std::int16_t id, std::int64_t value) {
  FieldHeader(id, CompactType::I64);
  PutZigZag(value);
}

// A boolean field has no value byte: the type code says true or false.
void CompactWriter::FieldBool(std::int16_t id, bool value) {
  FieldHeader(id, value ? CompactType::BooleanTrue : CompactType::BooleanFalse);
}

void CompactWriter::FieldBinary(std::int16_t id, std::string_view bytes) {
  FieldHeader(id, CompactType::Binary);
  ElementBinary(bytes);
}

void CompactWriter::FieldStruct(std::int16_t id) {
  FieldHeader(id, CompactType::Struct);
  BeginStruct();
}

void CompactWriter::FieldList(std::int16_t id, CompactType element, std::size_t count) {
  FieldHeader(id, CompactType::List);
  if (count < 15) {
    out_.push_back(static_cast<char>((count << 4) | static_cast<std::size_t>(element)));
  } else {
    out_.push_back(static_cast<char>(0xF0 | static_cast<int>(element)));
    PutVarint(out_, count);
  }
}

void CompactWriter::BeginStruct() {
  enclosingIds_.push_back(lastId_);
  lastId_ = 0;
}

void CompactWriter::EndStruct() {
  out_.push_back('\0');
  lastId_ = enclosingIds_.back();
  enclosingIds_.pop_back();
}

void CompactWriter::ElementBinary(std::string_view bytes) {
  PutVarint(out_, bytes.size());
  out_.append(bytes);
}

}  // namespace quorlin::parquet
