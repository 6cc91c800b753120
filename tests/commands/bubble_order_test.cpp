// The sort is worked out rather than carried out record by record; these tests hold it against
// the record-by-record bubble sort on the file, pass bounds and all.
#include "commands/bubble_order.h"

#include <gtest/gtest.h>

#include <random>

#include "commands/default_place.h"
#include "placesfile/places_file.h"
#include "tests/commands/places_fixture.h"

namespace orvalin {
namespace {

using namespace testing;

struct LiteralOutcome {
  std::vector<std::size_t> order;  // records 2.. by their index among the keys
  std::int64_t last_read = 0;
  std::int64_t first_exchange = 0;
};

// The sort as written, on records 1 to floor(n) of a file of n records (n real).
LiteralOutcome LiteralBubblesort(const std::vector<std::u32string>& keys, double n) {
  std::vector<std::size_t> file(keys.size() + 2);  // file[r]: key index of record r
  for (std::size_t j = 0; j < keys.size(); ++j) file[j + 2] = j;
  LiteralOutcome out;
  const double last_pair = n - 1;
  double pass_end = last_pair, last_swap = 0;
  for (bool swapped = true; swapped;) {
    swapped = false;
    const double bound = pass_end;
    for (std::int64_t i = 2; static_cast<double>(i) <= bound; ++i) {
      const std::size_t work = file[i], b = file[i + 1];
      out.last_read = i;
      if (keys[work] > keys[b]) {
        if (out.first_exchange == 0) out.first_exchange = i;
        file[i] = b, file[i + 1] = work;
        last_swap = static_cast<double>(i + 1);
        swapped = true;
      }
    }
    if (last_swap > last_pair) last_swap = last_pair;
    pass_end = last_swap;
  }
  out.order.assign(file.begin() + 2, file.end());
  return out;
}

std::u32string Key(const std::string& name) { return NameKey(Named(name)); }

const std::vector<std::string> kPool = {"A", "B", "a", "Bern", "Berne", "Évian", "é", "Œ", " A"};

std::vector<std::u32string> Shaped(std::mt19937& rng, std::size_t size, int shape) {
  std::vector<std::u32string> keys;
  for (std::size_t j = 0; j < size; ++j) keys.push_back(Key(kPool[rng() % kPool.size()]));
  if (shape == 1) std::sort(keys.begin(), keys.end());
  if (shape == 2) std::sort(keys.rbegin(), keys.rend());
  if (shape == 3) std::fill(keys.begin(), keys.end(), Key("Bern"));
  if (shape == 4 && size > 2) {  // sorted but for one record out of place
    std::sort(keys.begin(), keys.end());
    std::rotate(keys.begin(), keys.begin() + 1, keys.begin() + static_cast<long>(rng() % size) + 1);
  }
  return keys;
}

TEST(PlanBubblesort, AgreesWithTheRecordByRecordSort) {
  std::mt19937 rng(20240305);
  for (int trial = 0; trial < 4000; ++trial) {
    const std::size_t records = rng() % 41;  // whole records, record 1 included
    const std::size_t keys_size = records >= 2 ? records - 1 : 0;
    const std::vector<std::u32string> keys = Shaped(rng, keys_size, trial % 5);
    const std::size_t partial = rng() % 3 == 0 ? rng() % 72 : 0;  // bytes of a last record
    const auto n = static_cast<double>(72 * records + partial) / 72;
    const LiteralOutcome literal = LiteralBubblesort(keys, n);
    const BubbleOutcome plan = PlanBubblesort(keys);
    ASSERT_EQ(plan.order, literal.order) << trial;
    ASSERT_EQ(plan.first_exchange, literal.first_exchange) << trial;
    ASSERT_EQ(plan.last_read, literal.last_read) << trial;
  }
}

TEST(PlanBubblesort, ReverseOrderNeedsEveryPass) {
  std::vector<std::u32string> keys;
  for (char c = 'Z'; c >= 'A'; --c) keys.push_back(Key(std::string(1, c)));
  const BubbleOutcome plan = PlanBubblesort(keys);
  EXPECT_EQ(plan.order.front(), keys.size() - 1);
  EXPECT_EQ(plan.first_exchange, 2);
  EXPECT_EQ(plan.last_read, 3);  // the last exchange is between records 2 and 3
}

// The sort as written, record by record on the file.
void LiteralSortOnFile(PlacesFile& f, PlaceRecord& work_place) {
  const double n = f.RecordCount();
  const double last_pair = n - 1;
  double pass_end = last_pair, last_swap = 0;
  for (bool swapped = true; swapped;) {
    swapped = false;
    const double bound = pass_end;
    for (std::int64_t i = 2; static_cast<double>(i) <= bound; ++i) {
      work_place = f.Read(i);
      const PlaceRecord b = f.Read(i + 1);
      if (NameKey(work_place) > NameKey(b)) {
        f.Write(i, b);
        f.Write(i + 1, work_place);
        last_swap = static_cast<double>(i + 1);
        swapped = true;
      }
    }
    if (last_swap > last_pair) last_swap = last_pair;
    pass_end = last_swap;
  }
}

class SortOnFileTest : public PlacesTest {
 protected:
  // Many small files are replaced here: in memory where the system offers it, so that waiting
  // for the disk does not slow the tests.
  SortOnFileTest() {
    const std::filesystem::path shm = "/dev/shm";
    if (!std::filesystem::is_directory(shm)) return;
    std::filesystem::remove_all(dir);
    dir = shm / dir.filename();
    std::filesystem::create_directories(dir);
    session.DataDirectory = dir.string() + "/";
  }

  // Moves record k first (none when k is 0) and sorts, as the commands are written, on a copy.
  std::string Literal(std::int64_t k, PlaceRecord& work_place) {
    const std::string path = (dir / "reference.dat").string();
    std::filesystem::copy_file(FilePath(), path);
    PlacesFile f;
    f.Open(path);
    if (k > 0) {
      const PlaceRecord chosen = f.Read(k);
      for (std::int64_t i = k; i >= 2; --i) {
        work_place = f.Read(i - 1);
        f.Write(i, work_place);
      }
      f.Write(1, chosen);
    }
    LiteralSortOnFile(f, work_place);
    std::string bytes = f.ReadAll();
    f.Close();
    std::filesystem::remove(path);
    return bytes;
  }
};

TEST_F(SortOnFileTest, DefaultDataGivesTheBytesOfTheInPlaceSteps) {
  std::mt19937 rng(72);
  for (int trial = 0; trial < 150; ++trial) {
    std::string bytes;
    const std::size_t records = 1 + rng() % 9;
    for (std::size_t r = 0; r < records; ++r) {
      bytes += Bytes(Named(kPool[rng() % kPool.size()], std::to_string(r)));
    }
    if (rng() % 2 == 0) bytes += Bytes(Named("Aarau", "tail")).substr(0, 1 + rng() % 71);
    WriteBytes(bytes);
    const auto k = static_cast<std::int64_t>(1 + rng() % (records + (bytes.size() % 72 ? 1 : 0)));
    PlaceRecord work_place;
    const std::string expected = Literal(k, work_place);

    session.CurrentRecord = static_cast<std::int32_t>(k);
    session.SeenRecord = 0;  // each trial's file is new to the window
    DefaultData(session);
    ASSERT_EQ(FileBytes(), expected) << trial;

    // The sort alone, for what it leaves in WorkPlace.
    WriteBytes(bytes);
    const PlaceRecord before = Named("untouched");
    work_place = before;
    const std::string sorted = Literal(0, work_place);
    session.WorkPlace = before;
    Bubblesort(session);
    ASSERT_EQ(FileBytes(), sorted) << trial;
    ASSERT_EQ(session.WorkPlace, work_place) << trial;
  }
}

}  // namespace
}  // namespace orvalin
