#include "CatalogueTable.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace tolmar {

namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) return 0;
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

void CatalogueTable::FileNames(const std::string& name, std::string& dataFile,
                               std::string& memoFile) {
  std::string trimmed = name;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  if (trimmed.size() >= 3 && trimmed[trimmed.size() - 3] == '.' &&
      lower(trimmed[trimmed.size() - 2]) == 'd' && lower(trimmed.back()) == 'b') {
    dataFile = trimmed;
    memoFile = trimmed.substr(0, trimmed.size() - 3) + ".mem";
  } else {
    dataFile = name + ".db";
    memoFile = name + ".mem";
  }
}

bool CatalogueTable::Fail(std::string reason) {
  Close();
  m_failure = std::move(reason);
  return false;
}

bool CatalogueTable::Open(const std::string& name) {
  Close();
  m_failure.clear();
  FileNames(name, m_dataFile, m_memoFile);
  if (!ReadWholeFile(m_dataFile, m_data)) return Fail(m_dataFile + ": cannot be read");
  if (m_data.size() < kHeaderSize) return Fail(m_dataFile + ": header is short");
  const bool hasMemo = m_data[32] != 0;
  const auto recordSize = static_cast<int32_t>(U32At(m_data, 48));
  const auto count = static_cast<int32_t>(U32At(m_data, 56));
  m_tableValue = static_cast<int32_t>(U32At(m_data, 60));
  if (recordSize <= 0) return Fail(m_dataFile + ": record size is not positive");
  // A header may promise more records than were written; only whole records count.
  const size_t present = (m_data.size() - kHeaderSize) / static_cast<size_t>(recordSize);
  m_recordSize = recordSize;
  m_count = static_cast<int>(std::min<size_t>(present, static_cast<size_t>(std::max(count, 0))));
  if (hasMemo) {
    if (!ReadWholeFile(m_memoFile, m_memo)) return Fail(m_memoFile + ": cannot be read");
    if (m_memo.size() < kHeaderSize) return Fail(m_memoFile + ": header is short");
    m_memoUsed = std::min<size_t>(U32At(m_memo, 52), m_memo.size() - kHeaderSize);
    m_memoValue = static_cast<int32_t>(U32At(m_memo, 60));
  }
  m_open = true;
  m_index = m_count != 0 ? 0 : -1;
  return true;
}

void CatalogueTable::Close() {
  m_data.clear();
  m_data.shrink_to_fit();
  m_memo.clear();
  m_memo.shrink_to_fit();
  m_memoUsed = 0;
  m_recordSize = 0;
  m_count = 0;
  m_index = -1;
  m_tableValue = 0;
  m_memoValue = 0;
  m_open = false;
}

void CatalogueTable::First() {
  if (m_open && m_count != 0) m_index = 0;
}

void CatalogueTable::Move(int delta) {
  const long long target = static_cast<long long>(m_index) + delta;
  if (target < 0) {
    m_index = -1;
  } else if (target > m_count) {
    m_index = m_count;
  } else {
    m_index = static_cast<int>(target);
  }
}

bool CatalogueTable::ReadRecord(std::span<uint8_t> buffer) const {
  if (!m_open || AtEnd() || AtStart()) return false;
  if (buffer.size() < static_cast<size_t>(m_recordSize)) return false;
  const size_t offset = kHeaderSize + static_cast<size_t>(m_index) * m_recordSize;
  std::copy_n(m_data.begin() + static_cast<std::ptrdiff_t>(offset), m_recordSize, buffer.begin());
  return true;
}

bool CatalogueTable::ReadRecord(std::vector<uint8_t>& buffer) const {
  if (!m_open) return false;
  buffer.resize(static_cast<size_t>(m_recordSize));
  return ReadRecord(std::span<uint8_t>(buffer));
}

std::optional<std::string> CatalogueTable::ReadMemo(uint32_t key) const {
  size_t position = kHeaderSize;
  const size_t end = kHeaderSize + m_memoUsed;
  while (position + 8 <= end) {
    const uint32_t blockKey = U32At(m_memo, position);
    const uint32_t length = U32At(m_memo, position + 4);
    if (blockKey > key) return std::nullopt;
    if (length > end - position - 8) return std::nullopt;  // block runs past the used bytes
    if (blockKey == key) {
      const auto first = m_memo.begin() + static_cast<std::ptrdiff_t>(position + 8);
      std::string text(first, first + length);
      // The text is zero-terminated within its block when the writer added one.
      if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
      return text;
    }
    position += 8 + static_cast<size_t>(length);
  }
  return std::nullopt;
}

}  // namespace tolmar
