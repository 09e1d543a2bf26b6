#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DicomElement.h"

namespace tolmar {

// Elements of one group number, kept as a binary min-heap on the element number.
struct DicomGroup {
  uint16_t number = 0;
  uint64_t runningLength = 0;  // implicit-VR bytes of its elements, group length excluded
  std::vector<std::unique_ptr<DicomElement>> heap;
};

// An in-memory DICOM data set. Elements are kept per group; enumeration is
// destructive: PopNext hands out the elements in ascending tag order, each
// group led by a freshly made group length element, and empties the set.
class DicomDataSet {
 public:
  DicomDataSet();
  ~DicomDataSet();
  DicomDataSet(const DicomDataSet&) = delete;
  DicomDataSet& operator=(const DicomDataSet&) = delete;

  // Attaches an item to the element added last. Fails while iterating or before
  // any element was added.
  bool AddItem(std::unique_ptr<DicomDataSet> item);
  // Takes the element. Group length elements (element 0000) are dropped and
  // reported as added: they are made anew on output. Fails while iterating.
  bool AddElement(std::unique_ptr<DicomElement> element);
  // Destructive enumeration; null when the set has been drained.
  std::unique_ptr<DicomElement> PopNext();
  void Clear();

  DicomElement* FindElement(uint16_t group, uint16_t element);
  const DicomElement* FindElement(uint16_t group, uint16_t element) const;
  // The value as a little-endian 16-bit number when the element has exactly 2 bytes, else 0.
  uint16_t GetUShort(uint16_t group, uint16_t element) const;
  // The value up to its first NUL, trailing blanks removed; empty when absent.
  std::string GetText(uint16_t group, uint16_t element) const;
  // Same tag, VR and length with a private copy of the value; items are not copied.
  std::unique_ptr<DicomElement> CopyElement(uint16_t group, uint16_t element) const;
  // Replaces the value of an existing element of the same tag, or adds the element.
  bool SetElement(std::unique_ptr<DicomElement> element);
  // Removes and destroys the first element of this tag; false when there is none.
  bool RemoveElement(uint16_t group, uint16_t element);

  // Deep copy, items included; the original is left as it is.
  std::unique_ptr<DicomDataSet> Clone() const;
  // Every element in ascending tag order, without emptying the set (no group lengths).
  std::vector<const DicomElement*> SortedElements() const;

  bool IsEmpty() const;
  bool Iterating() const { return m_iterating; }
  // Running encoded size (implicit VR, group length elements and item overhead included).
  uint64_t Total() const { return m_total; }
  // Exact encoded size of the whole set in implicit or explicit VR.
  uint64_t EncodedSize(bool explicitVr) const;
  // Exact size of the elements still held by the group being drained: the value of
  // the group length element just popped, recomputed for explicit-VR output.
  uint32_t DrainingGroupLength(bool explicitVr) const;

  // Declared length of (7FE0,0010) in the stream that produced the set;
  // kUndefinedLength for encapsulated pixel data.
  uint32_t pixelDataLength = 0;
  // For an item: stream position of its first byte within the enclosing stream.
  uint64_t itemOffset = 0;

 private:
  DicomGroup* FindGroup(uint16_t number) const;
  static uint64_t ElementSize(const DicomElement& e, bool explicitVr);
  static uint64_t GroupSize(const DicomGroup& g, bool explicitVr);
  static uint64_t RunningContribution(const DicomElement& e);

  std::vector<std::unique_ptr<DicomGroup>> m_groups;  // in order of first insertion
  DicomGroup* m_currentGroup = nullptr;
  DicomElement* m_lastElement = nullptr;
  DicomGroup* m_lastElementGroup = nullptr;
  uint64_t m_total = 0;
  bool m_iterating = false;
  std::vector<std::unique_ptr<DicomGroup>> m_groupHeap;
  std::unique_ptr<DicomGroup> m_drainingGroup;
  bool m_groupLengthPending = false;
};

}  // namespace tolmar
