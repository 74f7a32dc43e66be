#pragma once
#include <QString>
#include <exception>
#include <string>

// Every error number the program raises or tests, named once. The numbers are those of the
// runtime and the file engine the program grew up with: "Errormsg.txt" keeps its Polish texts
// under them (section [Program] for the first group, [DAO] for the engine's).
namespace err {
enum Number : long {
    // The program itself.
    kInvalidCall = 5,  // invalid procedure call or argument
    kOverflow = 6,     // a number too large for its type
    kOutOfMemory = 7,
    kDivisionByZero = 11,
    kTypeMismatch = 13,  // a value that cannot be read as the type asked for
    kFileNotFound = 53,
    kDiskFull = 61,
    kPermissionDenied = 70,  // a file in use by another program, or not writable
    kPathFileAccess = 75,    // a file or folder that cannot be written
    kPathNotFound = 76,
    kObjectNotSet = 91,         // no open database where one is needed
    kCannotCreateObject = 429,  // the program that composes mail could not be started
    kPrinterError = 482,
    // The database engine.
    kGeneral = 3000,          // any other engine error
    kInvalidArgument = 3001,  // the file could not be opened at all
    kNoCurrentRecord = 3021,  // the row worked on is not there
    kNoDiskSpace = 3026,      // the disk that holds the database file is full
    kDuplicateKey = 3022,     // a unique index refused a duplicate value
    kReadOnly = 3027,         // the database or object is read-only
    kNotValidPassword = 3031,
    kDiskOrNetwork = 3043,     // the disk or the network failed to read or write the file
    kCannotOpen = 3044,        // the folder or file does not exist
    kFileInUse = 3045,         // held exclusively by another workstation
    kDamaged = 3049,           // a database file whose pages are damaged
    kUnfinishedChange = 3050,  // a change cut short, which only a writer of the file can undo
    kNoAccess = 3051,          // the file, or a file beside it in its folder, may not be opened or made
    kNotAFile = 3055,          // a folder, a pipe or a device where a database file should be
    kNoSuchTable = 3078,
    kFileReplaced = 3197,  // the open file was replaced by another workstation (a password change)
    kTableLocked = 3261,   // a table is locked by another workstation
    kNoSuchColumn = 3265,
    kNotDatabase = 3343,      // not a database of this program
    kNumericOverflow = 3349,  // a sum or a value of the file past the range of its numbers
    kLastEngineNumber = 3999,
};
}  // namespace err

// The one error type of the program: an error number (above), the place it came from, a Polish
// description for the user and, for the database engine's errors, the engine's own words, which
// only the error's details and the log show.
class AppError : public std::exception {
public:
    AppError(long number, QString source, QString description, QString engineText = QString())
        : number_(number), source_(std::move(source)), description_(std::move(description)),
          engineText_(std::move(engineText)), what_(description_.toStdString())
    {
    }

    long number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    const QString& engineText() const { return engineText_; }
    // The description followed by the engine's words, for the details and the log.
    QString details() const { return engineText_.isEmpty() ? description_ : description_ + " (" + engineText_ + ")"; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    long number_;
    QString source_;
    QString description_;
    QString engineText_;
    std::string what_;
};
