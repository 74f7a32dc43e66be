#pragma once
#include <QString>
#include <exception>
#include <string>

// The one error type of the program: an error number (engine numbers for the database, such as
// 3031 for a wrong password), the place it came from and a Polish description for the user.
class AppError : public std::exception {
public:
    AppError(long number, QString source, QString description)
        : number_(number), source_(std::move(source)), description_(std::move(description)),
          what_(description_.toStdString()) {}

    long number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    long number_;
    QString source_;
    QString description_;
    std::string what_;
};
