#pragma once

#include "settings/widgets/ComponentFactory.h"

#include <vector>

class ImageReader;
class QWidget;

namespace ComponentImageReader {

struct ReadState {
    ImageReader& in;
    std::vector<ComponentFactory::Fixup> fixups; // resolved once the whole tree is read
    int components = 0;
};

// Creates the component of the record at the reader's position, with its children, under the
// parent given (none for the root). The root is owned by the caller; children belong to their
// parent. Damage throws EFilerError and destroys what was made.
QWidget* readRecord(ReadState& state, QWidget* parent, int depth);

} // namespace ComponentImageReader
