#pragma once

class ImageWriter;
class QWidget;

namespace ComponentImageWriter {

// The signature, the component's record with its children's, and the list end. Throws
// EFilerError for a control of a class outside the table or a layout images cannot hold.
void write(QWidget* component, ImageWriter& out);

} // namespace ComponentImageWriter
