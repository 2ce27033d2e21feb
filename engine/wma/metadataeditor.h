#pragma once

#include "engine/wma/headerinfo.h"
#include "engine/wma/wmformat.h"

#include <memory>

namespace platform {
class File;
}

namespace TagLib {
class ByteVectorStream;
namespace ASF {
class File;
}
}  // namespace TagLib

namespace engine {

// Our stand-in for the media SDK's metadata editor: opens a WMA file by its wide path, reads the
// ASF header object's bytes (engine/wma/asfheader.h) and parses them with TagLib, and answers
// attribute queries through its HeaderInfo view.
//
// "Title" and "Author" are the header's content description fields; every other name is looked up
// among the extended attributes. A content description field that is empty counts as absent.
class MetadataEditor : public HeaderInfo {
public:
    // WMCreateEditor: an editor with no file open. kEOutOfMemory when it cannot be made.
    static HResult Create(std::unique_ptr<MetadataEditor>* editor);

    ~MetadataEditor() override;
    MetadataEditor(const MetadataEditor&) = delete;
    MetadataEditor& operator=(const MetadataEditor&) = delete;

    // Reads the header of the file at a wide path in the system code page's characters, resolved
    // through the drive map. A Win32-facility code when the file cannot be opened, kAsfEInvalidHeader
    // when its header does not read as ASF or claims more attributes than it holds. Throws platform::FileError when the file system fails
    // while the header is being read (a device that went away, say).
    HResult Open(const char16_t* widePath);
    // The same for a file already open for reading, which the editor reads but does not keep.
    HResult Open(platform::File& file);
    // Closes the file; the editor can open another.
    HResult Close();

    // The header-information view of this editor, valid while the editor lives; kENoInterface
    // while no file is open.
    HResult QueryHeaderInfo(HeaderInfo** headerInfo);

    HResult GetAttributeByName(uint16_t streamNumber, const char16_t* name, AttributeDataType* type, uint8_t* value,
                               uint32_t* length) override;

private:
    MetadataEditor();

    std::unique_ptr<TagLib::ByteVectorStream> stream_;  // the header object's bytes
    std::unique_ptr<TagLib::ASF::File> file_;  // reads through stream_: declared after it, destroyed before it
};

}  // namespace engine
