#include "export/parquet/page_store.h"

namespace quorlin::parquet {

PageStore::Place PageStore::Put(std::string_view header, std::string_view body) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const Place place{blocks_.Size(), header.size() + body.size()};
  blocks_.Append(header);
  blocks_.Append(body);
  return place;
}

void PageStore::WriteTo(ByteSink& sink, Place place) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  blocks_.WriteTo(sink, place.offset, place.size);
}

void PageStore::Clear() {
  const std::lock_guard<std::mutex> lock(mutex_);
  blocks_.Clear();
}

}  // namespace quorlin::parquet
