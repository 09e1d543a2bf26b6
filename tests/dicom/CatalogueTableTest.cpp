// Catalogue tables: file names, moves, records, memo lookups, and headers that
// promise more than the files hold.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "dicom/CatalogueTable.h"
#include "dicom/ImageInfoTable.h"
#include "dicom/SopClassTable.h"

namespace tolmar {
namespace {

namespace fs = std::filesystem;

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  if (bytes.size() < at + 4) bytes.resize(at + 4);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A data file: header with memo flag, record size and count, then the records.
std::vector<uint8_t> DataFile(int32_t recordSize, int32_t count, const std::vector<std::vector<uint8_t>>& records,
                              bool memo = false) {
  std::vector<uint8_t> bytes(128, 0);
  bytes[32] = memo ? 1 : 0;
  Put32(bytes, 48, static_cast<uint32_t>(recordSize));
  Put32(bytes, 56, static_cast<uint32_t>(count));
  Put32(bytes, 60, 0x1234);
  for (const auto& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
  return bytes;
}

struct MemoBlock {
  uint32_t key;
  std::string text;
  uint32_t declaredLength = UINT32_MAX;  // the text's size unless set
};

std::vector<uint8_t> MemoFile(const std::vector<MemoBlock>& blocks, int usedAdjust = 0) {
  std::vector<uint8_t> bytes(128, 0);
  for (const auto& b : blocks) {
    const size_t at = bytes.size();
    Put32(bytes, at, b.key);
    Put32(bytes, at + 4, b.declaredLength == UINT32_MAX ? static_cast<uint32_t>(b.text.size()) : b.declaredLength);
    bytes.insert(bytes.end(), b.text.begin(), b.text.end());
  }
  Put32(bytes, 52, static_cast<uint32_t>(static_cast<int>(bytes.size()) - 128 + usedAdjust));
  return bytes;
}

std::vector<uint8_t> Record(int size, uint8_t fill) { return std::vector<uint8_t>(static_cast<size_t>(size), fill); }

class CatalogueTableFiles : public testing::Test {
 protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() /
               ("tolmar-catalogue-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_folder / "prog.dir");
  }
  void TearDown() override { fs::remove_all(m_folder); }
  fs::path m_folder;
};

TEST(CatalogueFileNames, DerivesDataAndMemoNames) {
  struct Case {
    std::string name, data, memo;
  } cases[] = {
      {"/opt/prog.dir/SOPCLASS", "/opt/prog.dir/SOPCLASS.db", "/opt/prog.dir/SOPCLASS.mem"},
      {"/opt/REPORT.DB", "/opt/REPORT.DB", "/opt/REPORT.mem"},
      {"/opt/Study.Db  ", "/opt/Study.Db", "/opt/Study.mem"},
      {"/opt/x.dbx", "/opt/x.dbx.db", "/opt/x.dbx.mem"},
      {"db", "db.db", "db.mem"},
  };
  for (const auto& c : cases) {
    std::string data, memo;
    CatalogueTable::FileNames(c.name, data, memo);
    EXPECT_EQ(data, c.data) << c.name;
    EXPECT_EQ(memo, c.memo) << c.name;
  }
}

TEST_F(CatalogueTableFiles, ReadsRecordsInOrderAndMovesWithinBounds) {
  WriteFile(m_folder / "prog.dir" / "SERIES.db",
            DataFile(8, 5, {Record(8, 1), Record(8, 2), Record(8, 3), Record(8, 4), Record(8, 5)}));
  CatalogueTable table;
  ASSERT_TRUE(table.Open((m_folder / "prog.dir" / "SERIES").string())) << table.Failure();
  EXPECT_EQ(table.RecordCount(), 5);
  EXPECT_EQ(table.TableValue(), 0x1234);
  EXPECT_EQ(table.Index(), 0);
  std::vector<uint8_t> record;
  std::vector<int> seen;
  for (table.First(); !table.AtEnd(); table.Move(1)) {
    ASSERT_TRUE(table.ReadRecord(record));
    seen.push_back(record[0]);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_FALSE(table.ReadRecord(record));

  struct MoveCase {
    int from, delta, to;
  } moves[] = {{2, -5, -1}, {2, 10, 5}, {2, 2, 4}, {2, 3, 5}, {0, -1, -1}};
  for (const auto& m : moves) {
    table.First();
    table.Move(m.from);
    table.Move(m.delta);
    EXPECT_EQ(table.Index(), m.to) << m.from << " " << m.delta;
  }
  table.First();
  table.Move(-1);
  EXPECT_TRUE(table.AtStart());
  EXPECT_FALSE(table.ReadRecord(record));
  table.Close();
  EXPECT_FALSE(table.IsOpen());
  EXPECT_FALSE(table.ReadRecord(record));
}

TEST_F(CatalogueTableFiles, EmptyTableIsAtEndAtOnce) {
  WriteFile(m_folder / "EMPTY.db", DataFile(8, 0, {}));
  CatalogueTable table;
  ASSERT_TRUE(table.Open((m_folder / "EMPTY").string()));
  EXPECT_EQ(table.Index(), -1);
  EXPECT_TRUE(table.AtEnd());
  EXPECT_TRUE(table.AtStart());
  std::vector<uint8_t> record;
  EXPECT_FALSE(table.ReadRecord(record));
}

TEST_F(CatalogueTableFiles, HeaderPromisingMoreRecordsThanTheFileHoldsReadsOnlyWholeOnes) {
  auto bytes = DataFile(16, 1000, {Record(16, 7), Record(16, 8)});
  bytes.resize(bytes.size() + 5);  // a partial third record
  WriteFile(m_folder / "SHORT.db", bytes);
  CatalogueTable table;
  ASSERT_TRUE(table.Open((m_folder / "SHORT").string()));
  EXPECT_EQ(table.RecordCount(), 2);
  table.Move(2);
  EXPECT_TRUE(table.AtEnd());
}

TEST_F(CatalogueTableFiles, UnusableHeadersAndMissingFilesFailToOpen) {
  WriteFile(m_folder / "ZERO.db", DataFile(0, 4, {Record(8, 1)}));
  WriteFile(m_folder / "NEGATIVE.db", DataFile(-8, 4, {Record(8, 1)}));
  WriteFile(m_folder / "TINY.db", std::vector<uint8_t>(60, 0));
  WriteFile(m_folder / "NOMEMO.db", DataFile(8, 1, {Record(8, 1)}, true));
  CatalogueTable table;
  for (const char* name : {"ZERO", "NEGATIVE", "TINY", "NOMEMO", "ABSENT"}) {
    EXPECT_FALSE(table.Open((m_folder / name).string())) << name;
    EXPECT_FALSE(table.IsOpen());
    EXPECT_FALSE(table.Failure().empty());
    EXPECT_TRUE(table.AtEnd());
  }
  EXPECT_TRUE(ReadSopClassTable((m_folder / "ABSENT").string()).empty());
}

TEST_F(CatalogueTableFiles, MemoFileIsReadOnlyWhenTheFlagIsSet) {
  // An unreadable memo file beside a table without the flag does not matter.
  WriteFile(m_folder / "PLAIN.db", DataFile(8, 1, {Record(8, 1)}, false));
  fs::create_directories(m_folder / "PLAIN.mem");
  CatalogueTable table;
  EXPECT_TRUE(table.Open((m_folder / "PLAIN").string()));
  EXPECT_FALSE(table.ReadMemo(1).has_value());
}

TEST_F(CatalogueTableFiles, MemoLookupsScanAscendingKeys) {
  WriteFile(m_folder / "REPORT.DB", DataFile(8, 1, {Record(8, 1)}, true));
  WriteFile(m_folder / "REPORT.mem", MemoFile({{3, "three"}, {5, std::string("five\0pad", 8)}, {9, "nine"}}));
  CatalogueTable table;
  ASSERT_TRUE(table.Open((m_folder / "REPORT.DB").string())) << table.Failure();
  EXPECT_EQ(table.ReadMemo(3), "three");
  EXPECT_EQ(table.ReadMemo(5), "five");
  EXPECT_EQ(table.ReadMemo(9), "nine");
  EXPECT_FALSE(table.ReadMemo(7).has_value());
  EXPECT_FALSE(table.ReadMemo(1).has_value());
  EXPECT_FALSE(table.ReadMemo(10).has_value());
}

TEST_F(CatalogueTableFiles, MemoBlockRunningPastTheUsedBytesEndsTheScan) {
  WriteFile(m_folder / "M.db", DataFile(8, 1, {Record(8, 1)}, true));
  WriteFile(m_folder / "M.mem", MemoFile({{2, "ok"}, {4, "long", 0x7FFFFFF0u}, {6, "after"}}));
  CatalogueTable table;
  ASSERT_TRUE(table.Open((m_folder / "M").string()));
  EXPECT_EQ(table.ReadMemo(2), "ok");
  EXPECT_FALSE(table.ReadMemo(4).has_value());
  EXPECT_FALSE(table.ReadMemo(6).has_value());
}

TEST_F(CatalogueTableFiles, UsedLengthBeyondTheMemoFileIsCutToTheFile) {
  WriteFile(m_folder / "U.db", DataFile(8, 1, {Record(8, 1)}, true));
  WriteFile(m_folder / "U.mem", MemoFile({{2, "ok"}, {4, "end"}}, 100000));
  CatalogueTable table;
  ASSERT_TRUE(table.Open((m_folder / "U").string()));
  EXPECT_EQ(table.ReadMemo(4), "end");
  EXPECT_FALSE(table.ReadMemo(8).has_value());
}

TEST_F(CatalogueTableFiles, SopClassTableGivesCodeAndUidPerRecord) {
  auto record = [](int32_t code, const std::string& uid, int size) {
    std::vector<uint8_t> r(static_cast<size_t>(size), 0);
    Put32(r, 0, static_cast<uint32_t>(code));
    std::memcpy(r.data() + 8, uid.data(), std::min<size_t>(uid.size(), r.size() - 8));
    return r;
  };
  // The second UID fills its record to the end without a terminating zero.
  WriteFile(m_folder / "prog.dir" / "SOPCLASS.db",
            DataFile(24, 2, {record(1, "1.2.840.10008", 24), record(20, "1.2.3.4.5.6.7.8.9.10.11", 24)}));
  const auto entries = ReadSopClassTable((m_folder / "prog.dir" / "SOPCLASS").string());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].code, 1);
  EXPECT_EQ(entries[0].uid, "1.2.840.10008");
  EXPECT_EQ(entries[1].code, 20);
  EXPECT_EQ(entries[1].uid, "1.2.3.4.5.6.7.8.");
}

TEST_F(CatalogueTableFiles, ImageInfoItemsOfOneCategoryInFileOrder) {
  auto record = [](int32_t category, uint16_t group, uint16_t element, const char* vrText,
                   const char* format, uint16_t h, uint16_t v, int32_t line) {
    std::vector<uint8_t> r(48, 0);
    Put16(r, 4, group);
    Put16(r, 6, element);
    r[8] = static_cast<uint8_t>(vrText[0]);
    r[9] = static_cast<uint8_t>(vrText[1]);
    std::memcpy(r.data() + 13, format, std::min<size_t>(std::strlen(format), 19));
    Put32(r, 32, static_cast<uint32_t>(category));
    Put16(r, 36, h);
    Put16(r, 38, v);
    Put32(r, 40, static_cast<uint32_t>(line));
    return r;
  };
  WriteFile(m_folder / "IMGINFO.db",
            DataFile(48, 3, {record(1, 0x0010, 0x0010, "PN", "%s", 1, 1, 0),
                             record(2, 0x0008, 0x0020, "DA", "x", 2, 2, 1),
                             record(1, 0x0020, 0x0013, "IS", "Im: %s 0123456789abcdef", 2, 2, 3)}));
  std::vector<ImageInfoItem> items;
  ASSERT_TRUE(ReadImageInfoItems((m_folder / "IMGINFO").string(), 1, items));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].group, 0x0010);
  EXPECT_EQ(items[0].vr, "PN");
  EXPECT_EQ(items[0].format, "%s");
  EXPECT_EQ(items[1].element, 0x0013);
  EXPECT_EQ(items[1].format, "Im: %s 0123456789ab") << "the format field holds 19 bytes";
  EXPECT_EQ(items[1].horizontal, 2);
  EXPECT_EQ(items[1].line, 3);
  EXPECT_FALSE(ReadImageInfoItems((m_folder / "NONE").string(), 1, items));
}

}  // namespace
}  // namespace tolmar
