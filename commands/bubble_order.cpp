#include "commands/bubble_order.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>

namespace orvalin {
namespace {

// The most records greater than it that stand before any one record: every pass of the bubble
// sort moves each record that has some greater one before it by exactly one place, so this is
// the number of passes that exchange anything.
std::size_t PassesWithExchanges(const std::vector<std::size_t>& rank) {
  const std::size_t n = rank.size();
  std::vector<std::size_t> tree(n + 1, 0);  // Fenwick tree of the ranks seen so far
  std::size_t most = 0;
  for (std::size_t j = 0; j < n; ++j) {
    std::size_t smaller = 0;
    for (std::size_t x = rank[j]; x > 0; x -= x & (~x + 1)) smaller += tree[x];
    most = std::max(most, j - smaller);
    for (std::size_t x = rank[j] + 1; x <= n; x += x & (~x + 1)) ++tree[x];
  }
  return most;
}

// The ranks after k passes: a pass carries the greatest record seen so far to the right, so k
// passes hold back the k greatest, and place j gets the least not yet placed among the first
// j + k + 1 records.
std::vector<std::size_t> AfterPasses(const std::vector<std::size_t>& rank, std::size_t k) {
  const std::size_t n = rank.size();
  std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> held;
  for (std::size_t j = 0; j < std::min(k, n); ++j) held.push(rank[j]);
  std::vector<std::size_t> out(n);
  for (std::size_t j = 0; j < n; ++j) {
    if (j + k < n) held.push(rank[j + k]);
    out[j] = held.top();
    held.pop();
  }
  return out;
}

}  // namespace

template <typename Key>
BubbleOutcome PlanBubblesort(const std::vector<Key>& keys) {
  BubbleOutcome out;
  const std::size_t n = keys.size();
  out.order.resize(n);
  std::iota(out.order.begin(), out.order.end(), std::size_t{0});
  // Only a strictly greater name is exchanged, so equal names keep their order.
  std::stable_sort(out.order.begin(), out.order.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  if (n < 2) return out;  // no pair to compare

  // Index j stands for record j + 2; the last pair of the whole range starts at record n.
  for (std::size_t j = 0; j + 1 < n; ++j) {
    if (keys[j] > keys[j + 1]) {
      out.first_exchange = static_cast<std::int64_t>(j) + 2;
      break;
    }
  }
  if (out.first_exchange == 0) {
    out.last_read = static_cast<std::int64_t>(n);
    return out;
  }

  std::vector<std::size_t> rank(n);
  for (std::size_t p = 0; p < n; ++p) rank[out.order[p]] = p;
  // The last pass that exchanges anything sets where the final, quiet pass stops: one pair
  // beyond that pass's last exchange, within the file.
  std::vector<std::size_t> pass = AfterPasses(rank, PassesWithExchanges(rank) - 1);
  std::size_t last = 0;
  for (std::size_t j = 0; j + 1 < n; ++j) {
    if (pass[j] > pass[j + 1]) {
      std::swap(pass[j], pass[j + 1]);
      last = j;
    }
  }
  out.last_read = std::min(static_cast<std::int64_t>(last) + 3, static_cast<std::int64_t>(n));
  return out;
}

template BubbleOutcome PlanBubblesort(const std::vector<std::u32string>&);
template BubbleOutcome PlanBubblesort(const std::vector<NameOrderKey>&);

}  // namespace orvalin
