// A file that a function opens by path and must close on every exit.
#ifndef KESTRUNE_OWNEDFILE_H
#define KESTRUNE_OWNEDFILE_H

#include "QORSysFile.h"
#include "TextFileConstants.h"

namespace QORSysTextFileUtilities {

class OwnedFile {
public:
    OwnedFile() = default;
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;
    ~OwnedFile() { Close(); }

    // Opens path for reading; returns the open's code.
    HRESULT Open(const QORSysPath& path)
    {
        const HRESULT result = QORSysFOpen(path, READ_MODE, file_, 0);
        open_ = result >= 0;
        return result;
    }

    // Closes the file if it is open; the close's result does not matter.
    void Close()
    {
        if (open_) QORSysFClose(file_);
        open_ = false;
    }

    QORSysFileDescriptor& Descriptor() { return file_; }

private:
    QORSysFileDescriptor file_;
    bool open_ = false;
};

}  // namespace QORSysTextFileUtilities

#endif
