<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Polish texts of Qt's print dialog that Qt's own Polish catalogue lacks. The contexts are the
     class names under which Qt looks the texts up; compiled at build time and loaded after
     Qt's catalogue (core/polish_language.cpp). -->
<TS version="2.1" language="pl_PL">
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Pages</source>
        <translation>Strony</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Podaj strony lub zakresy stron oddzielone przecinkami. Zakres to dwie liczby połączone łącznikiem, np. 3,5-7,9 drukuje strony 3, 5, 6, 7 i 9.</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>Drukowanie dwustronne</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Wyłączone</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Oprawa wzdłuż dłuższej krawędzi</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Oprawa wzdłuż krótszej krawędzi</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Advanced</source>
        <translation>Zaawansowane</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Niektóre opcje są ze sobą sprzeczne. Popraw je.</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>Sprzeczne opcje zaawansowane</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>Niektóre opcje zaawansowane są ze sobą sprzeczne. Czy chcesz je poprawić?</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Sprzeczne ustawienia strony</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>Ustawienia strony są ze sobą sprzeczne. Czy chcesz je poprawić?</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Nieprawidłowo podane strony</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 ma nieprawidłową postać. Strony i zakresy oddziel przecinkiem &apos;,&apos;, zakres podaj z łącznikiem &apos;-&apos;, a zakresy nie mogą na siebie zachodzić.</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>Sprzeczne ustawienia drukowania dwustronnego</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>Ustawienia drukowania dwustronnego są ze sobą sprzeczne. Czy chcesz je poprawić?</translation>
    </message>
</context>
<context>
    <name>Print Device Input Slot</name>
    <message>
        <source>Automatic</source>
        <translation>Automatycznie</translation>
    </message>
</context>
<context>
    <name>Print Device Output Bin</name>
    <message>
        <source>Automatic</source>
        <translation>Automatycznie</translation>
    </message>
</context>
<context>
    <name>QCupsPrinterSupport</name>
    <message>
        <source>Authentication Needed</source>
        <translation>Wymagane uwierzytelnienie</translation>
    </message>
    <message>
        <source>Authentication needed to use %1.</source>
        <translation>Użycie %1 wymaga uwierzytelnienia.</translation>
    </message>
    <message>
        <source>Authentication needed to use %1 on %2.</source>
        <translation>Użycie %1 na %2 wymaga uwierzytelnienia.</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Nazwa użytkownika:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Hasło:</translation>
    </message>
</context>
</TS>
