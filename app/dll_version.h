// CDllVersion: reads the protocol library's FileVersion string and checks
// its major and minor numbers before the program touches the network.
#ifndef KL_APP_DLL_VERSION_H
#define KL_APP_DLL_VERSION_H

constexpr int kFileVersionBufferSize = 256;

class CDllVersion {
public:
    virtual ~CDllVersion() = default;

    // True when a FileVersion was read and three numbers parsed from it.
    // The numbers are 0 until parsed; values stored by a failed parse stay.
    bool GetVersion(const char* fileName, int& major, int& minor, int& release);

    // Copies the FileVersion string (at most 255 characters) into text.
    bool ReadFileVersion(const char* fileName, char (&text)[kFileVersionBufferSize]);

    // Splits text at separator as strtok does (runs count as one, leading
    // ones are skipped, each field's end is overwritten with a NUL) and
    // reads the first three fields as atoi does, storing each as soon as it
    // is found. True when all three were found. Portable.
    static bool ParseVersion(char* text, char separator, int& major, int& minor, int& release);
};

// The check the program makes at start: major 1 and minor 1.
bool IsSupportedLibraryVersion(int major, int minor);

#endif
