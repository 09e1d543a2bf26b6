#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolmar {

// Reader of the suite's catalogue tables: a data file ("NAME.db") of fixed-size
// records after a 128-byte header, and an optional memo file ("NAME.mem") of
// variable-length texts looked up by key. Both files are read whole on Open.
class CatalogueTable {
 public:
  static constexpr size_t kHeaderSize = 128;

  // The data and memo file names for a table name: a name ending in ".db" (any
  // case, trailing blanks ignored) is the data file itself.
  static void FileNames(const std::string& name, std::string& dataFile, std::string& memoFile);

  // False (table closed) when the data file cannot be read or its header is not
  // usable, or when the memo flag is set and the memo file cannot be read.
  // The reason is kept for tools and logs.
  bool Open(const std::string& name);
  void Close();
  bool IsOpen() const { return m_open; }
  const std::string& Failure() const { return m_failure; }

  void First();
  void Move(int delta);
  bool AtEnd() const { return m_count == 0 || m_index >= m_count; }
  bool AtStart() const { return m_count == 0 || m_index < 0; }
  // Copies the current record into `buffer` (at least RecordSize() bytes); false at
  // either end or when the buffer is too small.
  bool ReadRecord(std::span<uint8_t> buffer) const;
  bool ReadRecord(std::vector<uint8_t>& buffer) const;
  // The memo text stored under `key`; blocks are in ascending key order, so the scan
  // stops at the first greater key.
  std::optional<std::string> ReadMemo(uint32_t key) const;

  int RecordSize() const { return m_recordSize; }
  // Records actually present: the header's count, cut to what the file holds.
  int RecordCount() const { return m_count; }
  int Index() const { return m_index; }
  int32_t TableValue() const { return m_tableValue; }
  int32_t MemoValue() const { return m_memoValue; }
  const std::string& DataFileName() const { return m_dataFile; }
  const std::string& MemoFileName() const { return m_memoFile; }

 private:
  bool Fail(std::string reason);

  std::string m_dataFile;
  std::string m_memoFile;
  std::vector<uint8_t> m_data;
  std::vector<uint8_t> m_memo;
  size_t m_memoUsed = 0;
  int m_recordSize = 0;
  int m_count = 0;
  int m_index = -1;
  int32_t m_tableValue = 0;
  int32_t m_memoValue = 0;
  bool m_open = false;
  std::string m_failure;
};

}  // namespace tolmar
