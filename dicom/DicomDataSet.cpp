#include "DicomDataSet.h"

#include <algorithm>
#include <cstring>

namespace tolmar {

namespace {

constexpr uint64_t kGroupLengthElementSize = 12;  // tag, length, 4-byte value
constexpr uint64_t kItemOverhead = 16;            // item tag and length, item delimiter
constexpr uint64_t kSequenceDelimiterSize = 8;

uint64_t Padded(uint32_t length) { return static_cast<uint64_t>(length) + (length & 1u); }

bool IsPixelData(const DicomElement& e) { return e.group == 0x7FE0 && e.element == 0x0010; }

// Min-heap on the element number, stored in an index-addressable list.
void SiftUp(std::vector<std::unique_ptr<DicomElement>>& heap, size_t i) {
  while (i > 0) {
    size_t parent = (i - 1) / 2;
    if (heap[parent]->element <= heap[i]->element) break;
    std::swap(heap[parent], heap[i]);
    i = parent;
  }
}

void SiftDown(std::vector<std::unique_ptr<DicomElement>>& heap, size_t i) {
  const size_t n = heap.size();
  for (;;) {
    size_t left = 2 * i + 1;
    if (left >= n) break;
    size_t smaller = left;
    if (left + 1 < n && heap[left + 1]->element < heap[left]->element) smaller = left + 1;
    if (heap[i]->element <= heap[smaller]->element) break;
    std::swap(heap[i], heap[smaller]);
    i = smaller;
  }
}

bool GroupAfter(const std::unique_ptr<DicomGroup>& a, const std::unique_ptr<DicomGroup>& b) {
  return a->number > b->number;  // std::*_heap with this order keeps the smallest on top
}

}  // namespace

DicomDataSet::DicomDataSet() = default;
DicomDataSet::~DicomDataSet() = default;

DicomGroup* DicomDataSet::FindGroup(uint16_t number) const {
  if (m_currentGroup && m_currentGroup->number == number) return m_currentGroup;
  for (const auto& g : m_groups) {
    if (g->number == number) return g.get();
  }
  return nullptr;
}

uint64_t DicomDataSet::RunningContribution(const DicomElement& e) {
  uint64_t size = 8 + Padded(e.length);
  if (e.ItemCount() > 0) {
    size += kSequenceDelimiterSize;
    for (const auto& item : *e.Items()) size += kItemOverhead + item->Total();
  }
  return size;
}

bool DicomDataSet::AddElement(std::unique_ptr<DicomElement> element) {
  if (!element || m_iterating) return false;
  if (element->length == kUndefinedLength) element->length = 0;
  // Group lengths are never stored: they are made anew whenever the set is written.
  if (element->element == 0x0000) return true;

  DicomGroup* group = FindGroup(element->group);
  if (!group) {
    m_groups.push_back(std::make_unique<DicomGroup>());
    group = m_groups.back().get();
    group->number = element->group;
    m_total += kGroupLengthElementSize;
  }
  const uint64_t contribution = RunningContribution(*element);
  group->runningLength += contribution;
  m_total += contribution;
  m_lastElement = element.get();
  m_lastElementGroup = group;
  m_currentGroup = group;
  group->heap.push_back(std::move(element));
  SiftUp(group->heap, group->heap.size() - 1);
  return true;
}

bool DicomDataSet::AddItem(std::unique_ptr<DicomDataSet> item) {
  if (!item || m_iterating || !m_lastElement) return false;
  uint64_t growth = kItemOverhead + item->Total();
  if (m_lastElement->ItemCount() == 0) growth += kSequenceDelimiterSize;
  m_lastElement->AppendItem(std::move(item));
  m_lastElementGroup->runningLength += growth;
  m_total += growth;
  return true;
}

std::unique_ptr<DicomElement> DicomDataSet::PopNext() {
  if (!m_iterating) {
    if (m_groups.empty()) return nullptr;
    m_groupHeap = std::move(m_groups);
    m_groups.clear();
    std::make_heap(m_groupHeap.begin(), m_groupHeap.end(), GroupAfter);
    m_currentGroup = nullptr;
    m_lastElement = nullptr;
    m_lastElementGroup = nullptr;
    m_iterating = true;
  }

  if (m_drainingGroup && !m_drainingGroup->heap.empty()) {
    auto& heap = m_drainingGroup->heap;
    std::unique_ptr<DicomElement> smallest = std::move(heap.front());
    heap.front() = std::move(heap.back());
    heap.pop_back();
    if (!heap.empty()) SiftDown(heap, 0);
    const uint64_t contribution = RunningContribution(*smallest);
    m_total -= std::min(m_total, contribution);
    m_drainingGroup->runningLength -= std::min(m_drainingGroup->runningLength, contribution);
    return smallest;
  }

  if (m_drainingGroup) {
    m_drainingGroup.reset();
    m_total -= std::min(m_total, kGroupLengthElementSize);
  }
  if (m_groupHeap.empty()) {
    m_iterating = false;
    m_total = 0;
    m_groupHeap.clear();
    return nullptr;
  }
  std::pop_heap(m_groupHeap.begin(), m_groupHeap.end(), GroupAfter);
  m_drainingGroup = std::move(m_groupHeap.back());
  m_groupHeap.pop_back();

  // Each group is led by its group length: the bytes its elements take in the output.
  auto length = DicomElement::Create(m_drainingGroup->number, 0x0000, vr::UL, 4);
  const uint32_t value = DrainingGroupLength(false);
  std::memcpy(length->Value(), &value, 4);
  return length;
}

void DicomDataSet::Clear() {
  while (PopNext()) {
  }
  m_groups.clear();
  m_groupHeap.clear();
  m_drainingGroup.reset();
  m_currentGroup = nullptr;
  m_lastElement = nullptr;
  m_lastElementGroup = nullptr;
  m_total = 0;
  m_iterating = false;
}

DicomElement* DicomDataSet::FindElement(uint16_t group, uint16_t element) {
  if (m_iterating) return nullptr;
  DicomGroup* g = FindGroup(group);
  if (!g) return nullptr;
  for (auto& e : g->heap) {
    if (e->element == element) return e.get();
  }
  return nullptr;
}

const DicomElement* DicomDataSet::FindElement(uint16_t group, uint16_t element) const {
  return const_cast<DicomDataSet*>(this)->FindElement(group, element);
}

uint16_t DicomDataSet::GetUShort(uint16_t group, uint16_t element) const {
  const DicomElement* e = FindElement(group, element);
  if (!e || !e->HasValue() || e->length != 2) return 0;
  const uint8_t* v = e->Value();
  return static_cast<uint16_t>(v[0] | (v[1] << 8));
}

std::string DicomDataSet::GetText(uint16_t group, uint16_t element) const {
  const DicomElement* e = FindElement(group, element);
  if (!e) return {};
  std::string text = e->Text();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

std::unique_ptr<DicomElement> DicomDataSet::CopyElement(uint16_t group, uint16_t element) const {
  const DicomElement* e = FindElement(group, element);
  if (!e) return nullptr;
  if (!e->HasValue()) {
    auto copy = DicomElement::Empty(e->group, e->element, e->vr);
    copy->length = e->length;
    return copy;
  }
  auto buffer = std::make_unique_for_overwrite<uint8_t[]>(e->length);
  std::memcpy(buffer.get(), e->Value(), e->length);
  return DicomElement::Adopt(e->group, e->element, e->vr, std::move(buffer), e->length);
}

bool DicomDataSet::SetElement(std::unique_ptr<DicomElement> element) {
  if (!element || m_iterating) return false;
  DicomGroup* g = FindGroup(element->group);
  DicomElement* existing = nullptr;
  if (g) {
    for (auto& e : g->heap) {
      if (e->element == element->element) {
        existing = e.get();
        break;
      }
    }
  }
  if (!existing) return AddElement(std::move(element));
  const uint64_t before = RunningContribution(*existing);
  TakeValue(*existing, *element);
  const uint64_t after = RunningContribution(*existing);
  g->runningLength = g->runningLength + after - before;
  m_total = m_total + after - before;
  return true;
}

bool DicomDataSet::RemoveElement(uint16_t group, uint16_t element) {
  if (m_iterating) return false;
  DicomGroup* g = FindGroup(group);
  if (!g) return false;
  auto& heap = g->heap;
  for (size_t i = 0; i < heap.size(); ++i) {
    if (heap[i]->element != element) continue;
    const uint64_t contribution = RunningContribution(*heap[i]);
    if (heap[i].get() == m_lastElement) {
      m_lastElement = nullptr;
      m_lastElementGroup = nullptr;
    }
    heap[i] = std::move(heap.back());
    heap.pop_back();
    // Restore the heap order around the moved slot.
    if (i < heap.size()) {
      SiftDown(heap, i);
      SiftUp(heap, i);
    }
    g->runningLength -= std::min(g->runningLength, contribution);
    m_total -= std::min(m_total, contribution);
    if (heap.empty()) {
      if (m_currentGroup == g) m_currentGroup = nullptr;
      m_groups.erase(std::find_if(m_groups.begin(), m_groups.end(),
                                  [g](const auto& p) { return p.get() == g; }));
      m_total -= std::min(m_total, kGroupLengthElementSize);
    }
    return true;
  }
  return false;
}

std::unique_ptr<DicomDataSet> DicomDataSet::Clone() const {
  auto copy = std::make_unique<DicomDataSet>();
  copy->pixelDataLength = pixelDataLength;
  copy->itemOffset = itemOffset;
  for (const auto& g : m_groups) {
    for (const auto& e : g->heap) {
      auto c = e->HasValue() ? DicomElement::FromBytes(e->group, e->element, e->vr, e->Bytes())
                             : DicomElement::Empty(e->group, e->element, e->vr);
      c->length = e->length;
      copy->AddElement(std::move(c));
      if (e->Items()) {
        for (const auto& item : *e->Items()) copy->AddItem(item->Clone());
      }
    }
  }
  return copy;
}

std::vector<const DicomElement*> DicomDataSet::SortedElements() const {
  std::vector<const DicomElement*> all;
  for (const auto& g : m_groups) {
    for (const auto& e : g->heap) all.push_back(e.get());
  }
  std::stable_sort(all.begin(), all.end(), [](const DicomElement* a, const DicomElement* b) {
    return a->Tag() < b->Tag();
  });
  return all;
}

bool DicomDataSet::IsEmpty() const {
  return m_groups.empty() && m_groupHeap.empty() && !m_drainingGroup;
}

uint64_t DicomDataSet::ElementSize(const DicomElement& e, bool explicitVr) {
  uint64_t header = 8;
  if (explicitVr && HasLongExplicitLength(OutputVr(e))) header = 12;
  if (e.ItemCount() == 0) return header + Padded(e.length);
  uint64_t size = header + kSequenceDelimiterSize;
  for (const auto& item : *e.Items()) {
    if (IsPixelData(e)) {
      // A fragment is written as its tag, length and bytes, without a delimiter.
      const DicomElement* fragment = item->FindElement(0xFFFE, 0xE000);
      size += 8 + (fragment ? Padded(fragment->length) : 0);
    } else {
      size += kItemOverhead + item->EncodedSize(explicitVr);
    }
  }
  return size;
}

uint64_t DicomDataSet::GroupSize(const DicomGroup& g, bool explicitVr) {
  uint64_t size = 0;
  for (const auto& e : g.heap) size += ElementSize(*e, explicitVr);
  return size;
}

uint64_t DicomDataSet::EncodedSize(bool explicitVr) const {
  uint64_t size = 0;
  for (const auto& g : m_groups) size += kGroupLengthElementSize + GroupSize(*g, explicitVr);
  for (const auto& g : m_groupHeap) size += kGroupLengthElementSize + GroupSize(*g, explicitVr);
  if (m_drainingGroup) size += kGroupLengthElementSize + GroupSize(*m_drainingGroup, explicitVr);
  return size;
}

uint32_t DicomDataSet::DrainingGroupLength(bool explicitVr) const {
  if (!m_drainingGroup) return 0;
  const uint64_t size = GroupSize(*m_drainingGroup, explicitVr);
  return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

}  // namespace tolmar
