#include "core/error_messages.h"
#include "core/app.h"
#include "core/program_files.h"
#include "platform/app_error.h"
#include "platform/database.h"
#include "platform/ini_file.h"
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <exception>
#include <new>

ErrorInfo currentErrorInfo(const App& app)
{
    ErrorInfo e;
    e.source = app.title;
    try {
        if (auto current = std::current_exception()) std::rethrow_exception(current);
    } catch (const AppError& x) {
        e.number = x.number();
        e.source = x.source();
        e.description = x.details();
    } catch (const std::bad_alloc&) {
        e.number = err::kOutOfMemory;
        e.description = QStringLiteral("Brak pamięci.");
    } catch (const std::exception& x) {
        e.description = QString::fromUtf8(x.what());
    } catch (...) {
        e.description = QStringLiteral("Nieznany błąd.");
    }
    return e;
}

QString errorSection(const App& app, const ErrorInfo& error)
{
    // The database layer names the file or the statement as the source, so its errors are
    // told by their engine numbers.
    if (error.source.startsWith(QLatin1String("DAO")) ||
        (error.number >= err::kGeneral && error.number <= err::kLastEngineNumber))
        return QStringLiteral("DAO");
    if (error.source == app.title || error.source.isEmpty()) return QStringLiteral("Program");
    if (ini::sectionExists(programFile(app, QStringLiteral("Errormsg.txt")), error.source)) return error.source;
    return QStringLiteral("Program");
}

QString ErrorMsgRead(const App& app, const QString& section, long number)
{
    QString file = QDir::toNativeSeparators(programFile(app, QStringLiteral("Errormsg.txt")));
    if (!QFileInfo::exists(file))
        return QStringLiteral("Brak dostępu do pliku opisów błędów: ") + file +
               QStringLiteral(" - sprawdź czy we wskazanym folderze znaduje się plik Errormsg.txt.");
    QString text = ini::readString(file, section, QString::number(number)).value_or(QString()).left(3999);
    if (!text.isEmpty()) return text;
    QString generic = section == QLatin1String("DAO") ? QStringLiteral("Błąd dostępu lub przetwarzania danych. ")
                                                      : QStringLiteral("Błąd programu. ");
    return generic +
           QStringLiteral("Jeżeli nie jesteś w stanie określić przyczyny błędu wyślij informację o okolicznościach "
                          "jego występowania na adres: ") +
           app.supportAddress + QStringLiteral("\r\nDo poczty załącz plik dziennika błędów: Error.log.");
}

QString writeErrorLogEntry(const QString& file, const ErrorLogEntry& entry, const QDateTime& when)
{
    const QLocale locale;
    // Date and time to the minute, in the user's short formats.
    QString timeFormat =
        locale.timeFormat(QLocale::ShortFormat).remove(QLatin1String(":ss")).remove(QLatin1String(".ss"));
    QString base = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                   locale.toString(when.time(), timeFormat);
    QString section = base;
    for (int n = 2; ini::sectionExists(file, section); ++n) section = QStringLiteral("%1 (%2)").arg(base).arg(n);
    bool ok = ini::writeString(file, section, QStringLiteral("Program"), entry.program) &&
              ini::writeString(file, section, QStringLiteral("Źródło"), entry.source) &&
              ini::writeString(file, section, QStringLiteral("Numer"), entry.number) &&
              ini::writeString(file, section, QStringLiteral("Obiekt"), entry.obiekt) &&
              ini::writeString(file, section, QStringLiteral("Opis"), entry.opis);
    return ok ? section : QString();
}
