#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DrawText.h"

namespace tolmar {

class DicomDataSet;
class DicomImage;

inline constexpr const char* kGspsSopClassUid = "1.2.840.10008.5.1.4.1.1.11.1";

// A grey-scale softcopy presentation state, reduced to what the viewer uses:
// the text annotations it defines for one referenced image.
class CGSPSSObject {
 public:
  // Reads identity, the first referenced image and the text objects. False
  // when the data set is not a presentation state or lacks a required element.
  bool LoadFromDataSet(const DicomDataSet& dataSet);
  // Hands the texts to `image` when it is the referenced image and has not
  // taken this presentation state before.
  bool ApplyTo(DicomImage& image);

  const std::string& SopClassUid() const { return m_sopClassUid; }
  const std::string& SopInstanceUid() const { return m_sopInstanceUid; }
  const std::string& ReferencedSopClassUid() const { return m_referencedSopClassUid; }
  const std::string& ReferencedSopInstanceUid() const { return m_referencedSopInstanceUid; }
  const std::vector<std::unique_ptr<CDrawText>>& Objects() const { return m_objects; }

 private:
  std::string m_sopClassUid;
  std::string m_sopInstanceUid;
  std::string m_referencedSopClassUid;
  std::string m_referencedSopInstanceUid;
  std::vector<std::unique_ptr<CDrawText>> m_objects;
};

// The program-wide list of presentation states loaded but not yet applied.
// The loader thread and the user-interface thread both reach it.
class PendingPresentationStates {
 public:
  static PendingPresentationStates& Program();

  // Offers a loaded presentation state to the loaded images in order; the first
  // that accepts it takes its texts. Otherwise it waits here. True when applied.
  bool Offer(std::unique_ptr<CGSPSSObject> state, const std::vector<DicomImage*>& loadedImages);
  // Offers every waiting presentation state to a new image; the accepted ones
  // leave the list. Returns how many were applied.
  int OfferTo(DicomImage& image);
  size_t Count() const;
  void Clear();

 private:
  mutable std::mutex m_mutex;
  std::vector<std::unique_ptr<CGSPSSObject>> m_pending;
};

}  // namespace tolmar
