#pragma once

// Moves a user's files the three ways document tools need: to the Trash (the freedesktop
// Trash: the home Trash for the home's file system, "$topdir/.Trash/$uid" or
// "$topdir/.Trash-$uid" on others), into a folder under a free name, and back. Every
// move is an exclusive rename: nothing at the destination is ever replaced.
// Synchronous, on the caller's thread.

#include <QString>
#include <QUrl>

#include <exception>
#include <functional>

namespace ZantrelKit::TrashMove {

class Failure : public std::exception {
public:
    enum class Kind {
        failed,       // the rename failed; `error()` holds its errno
        noTrash,      // the item's file system has no usable Trash
        otherVolume,  // source and destination are on different file systems
        occupied,     // something is at the destination already
    };

    static Failure failed(int error) { return Failure(Kind::failed, error); }
    static Failure noTrash() { return Failure(Kind::noTrash, 0); }
    static Failure otherVolume() { return Failure(Kind::otherVolume, 0); }
    static Failure occupied() { return Failure(Kind::occupied, 0); }

    Kind kind() const { return kind_; }
    int error() const { return error_; }
    const char* what() const noexcept override;

    friend bool operator==(const Failure& a, const Failure& b) {
        return a.kind_ == b.kind_ && a.error_ == b.error_;
    }

private:
    Failure(Kind kind, int error) : kind_(kind), error_(error) {}
    Kind kind_;
    int error_;
};

// Something is at the path; a dangling symbolic link counts.
bool exists(const QUrl& url);

// The item (not followed when a link) and the folder are on one file system; false when
// either cannot be looked at.
bool sameVolume(const QUrl& item, const QUrl& folder);

// The item's file system is writable and a Trash folder for it exists or could be made
// (it is made).
bool hasTrash(const QUrl& item);

// Moves the item to its Trash, with a ".trashinfo" record of where it came from, and
// returns where it now is. Throws Failure::noTrash, or std::system_error when the item
// cannot be moved there.
QUrl trash(const QUrl& item);

// The name itself, else "stem 2.ext", "stem 3.ext", … ("notes 2" without an extension):
// the first that `taken` calls free.
QUrl freeURL(const QUrl& folder, const QString& name, const std::function<bool(const QUrl&)>& taken);

// Into the folder under a free name; where the item now is. Throws Failure.
QUrl move(const QUrl& item, const QUrl& folder);

// To exactly `destination`, making missing folders on the way. Throws Failure, or
// std::system_error when a folder cannot be made.
void putBack(const QUrl& item, const QUrl& destination);

}  // namespace ZantrelKit::TrashMove
