#pragma once
#include <QLocale>
#include <QTranslator>

// The program speaks Polish whatever language the machine is set to: Qt's own texts (the
// standard buttons, the file and print dialogs and their questions) come from Qt's Polish
// catalogue, completed by the program's own (core/rolkwit_pl.ts) for the texts Qt's lacks (the
// print dialog's page range, double-sided printing and "Advanced" tab), and numbers and dates
// take the Polish form wherever a default locale is used.
// Made once the application object exists; its end puts back what was there before.
class PolishLanguage final {
public:
    PolishLanguage();
    ~PolishLanguage();
    PolishLanguage(const PolishLanguage&) = delete;
    PolishLanguage& operator=(const PolishLanguage&) = delete;

    // False when Qt's Polish catalogue was not found (the package of Qt's translations is missing)
    // or the program's own could not be loaded.
    bool translated() const { return installed_ && own_; }

private:
    QLocale previous_;
    QTranslator qt_;
    QTranslator program_;
    bool installed_ = false;
    bool own_ = false;
};
