#pragma once

#include <string>

// The new content of a file, written beside it before it takes the file's place. Where the
// file system allows, it has no name until it is published, so a process killed while writing
// leaves nothing behind; elsewhere it has a name marked as this program's, and it is locked for
// its whole life so that a later write can tell a dead writer's leftover from a live one's.
class TTempFile {
  public:
    TTempFile() = default;
    TTempFile(TTempFile&& other) noexcept;
    TTempFile& operator=(TTempFile&& other) noexcept;
    ~TTempFile();

    // A new empty file in the folder, readable and writable by its owner only, for replacing
    // the file named base there. Returns an invalid object with errno set on failure.
    static TTempFile Create(const std::string& folder, const std::string& base);

    bool Valid() const { return Fd >= 0; }
    int Descriptor() const { return Fd; }

    // Gives the file its temporary name now, so that putting it in place later is a rename
    // alone: adding a name to a folder can fail on a full disk, a rename over a name cannot.
    // False with errno set on failure.
    bool Link();

    // Closes the file and puts it in place of target (a path in the same folder): renamed over
    // it, or linked where target does not exist. False with errno set on failure; the temporary
    // file is gone either way.
    bool Publish(const std::string& target);

  private:
    void Discard();

    int Fd = -1;
    std::string Folder;
    std::string Base;
    std::string Name;  // its path while it has one
};

// Removes the leftovers that writers killed while replacing the file named base in the folder
// left there: files named as this program names them, owned by this user and locked by nobody.
void RemoveLeftoverTempFiles(const std::string& folder, const std::string& base);
