#pragma once

namespace tolmar::viewer {

class CPictoriumDoc;

// Duplicate runs let the user keep an image's current look and work on a copy:
// every selected single-image cell gets a twin read again from its file, with
// the source's display state, drawing objects and scout lines, inserted right
// after it. Runs are numbered per process from 1. Answers how many were made;
// files that cannot be read again are skipped.
int DuplicateSelectedImages(CPictoriumDoc& doc);
// Deletes every single-image cell whose image is a duplicate; answers how many.
int DeleteDuplicates(CPictoriumDoc& doc);

}  // namespace tolmar::viewer
