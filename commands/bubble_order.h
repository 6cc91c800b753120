// What the in-place bubble sort of records 2 to N would do, worked out without doing it: the
// sort needs about n²/2 comparisons, each two record reads, far too slow for a large file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/name_keys.h"

namespace orvalin {

struct BubbleOutcome {
  // order[p] is the index into the keys of the record that ends as record p + 2.
  std::vector<std::size_t> order;
  // Record number (in the final layout) of the last record read as the first of a pair; 0 when
  // nothing was compared.
  std::int64_t last_read = 0;
  // Record number i of the first exchange, whose record i is the one read just before the first
  // write; 0 when nothing is exchanged (the file is then left as it is).
  std::int64_t first_exchange = 0;
};

// keys[j] is the name of record j + 2, for records 2 to floor(recordCount); a partial last
// record is never compared and must not be among them. Strictly greater names are exchanged.
// Key is std::u32string or NameOrderKey.
template <typename Key>
BubbleOutcome PlanBubblesort(const std::vector<Key>& keys);

}  // namespace orvalin
