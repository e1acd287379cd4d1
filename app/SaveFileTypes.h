#pragma once
// The file types the save dialog offers. The first, the default, is the paged text exactly as
// saving has always written it: any name, no extension added. The others write a web page, a
// PNG or an SVG picture of the same pages, mono or in the picture's colours, and add their
// extension to a name that has none.
//
// The descriptions live here alone, so a translation finds them in one place.

#include <string>
#include <vector>

#include "export/TextArtExport.h"

namespace app {

struct TSaveFileType {
    std::string description;
    textexport::ExportFormat format = textexport::ExportFormat::Text;
    bool color = false;
};

const std::vector<TSaveFileType>& SaveFileTypes();

// The save dialog's filter, one entry per type in order.
std::string SaveDialogFilter();

// The type of a 1-based filter index; the default one for an index out of range.
const TSaveFileType& SaveFileTypeAt(int filterIndex);

// The name with the type's extension when the name part has no extension of its own.
std::string WithTypeExtension(const std::string& fileName, const TSaveFileType& type);

} // namespace app
