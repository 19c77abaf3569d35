#pragma once

// CreateFileW refuses a path whose full form is MAX_PATH (260) characters or
// more, unless it has the extended-length prefix \\?\ (or the whole system
// allows long paths): a deep folder would then look like a missing file.

namespace platform {

/// The path to give CreateFileW for a path of any length. As given: a path that
/// starts with \\?\ or \??\, which Windows passes on unchanged, and one whose
/// full path is shorter than MAX_PATH. Otherwise its full path (GetFullPathNameW:
/// absolute, with backslashes, no "." or "..") in the one form that Windows
/// neither normalizes nor limits, \\?\: C:\... becomes \\?\C:\..., the device
/// path \\.\C:\... becomes \\?\C:\..., \\server\share\... becomes
/// \\?\UNC\server\share\..., and a full path that is one already (from //?/...)
/// stays. Null where GetFullPathNameW refuses the path.
class PathToOpen {
   public:
    explicit PathToOpen(const wchar_t* path);
    ~PathToOpen();
    PathToOpen(const PathToOpen&) = delete;
    PathToOpen& operator=(const PathToOpen&) = delete;

    const wchar_t* get() const { return path_; }

   private:
    const wchar_t* path_ = nullptr;
    wchar_t* extended_ = nullptr;  // the prefixed full path, where one is needed
};

}  // namespace platform
