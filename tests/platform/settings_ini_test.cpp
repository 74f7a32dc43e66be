#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "support/test_settings.h"
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SettingsStore, WritesOnlyIntoExistingKeysAndReadsTextBack)
{
    QString key = uniqueProgramKey();
    EXPECT_FALSE(settings::keyExists(key));
    EXPECT_FALSE(settings::writeValue(key, "Instancje", "1"));
    EXPECT_FALSE(settings::readValue(key, "Instancje"));

    settings::createKey(key);
    EXPECT_TRUE(settings::keyExists(key));
    EXPECT_TRUE(settings::writeValue(key, "Zapisz błędy", "1"));
    EXPECT_TRUE(settings::writeValue(key, "Puste", ""));
    EXPECT_EQ(settings::readValue(key, "Zapisz błędy"), QString("1"));
    EXPECT_EQ(settings::readValue(key, "Puste"), QString(""));  // an empty text is not missing
    EXPECT_FALSE(settings::readValue(key, "zapisz błędy"));     // names are exact
}

TEST(SettingsStore, NumbersReadAsTheirTextAndBinaryValuesAsMissing)
{
    QString key = uniqueProgramKey();
    settings::createKey(key);
    settings::writeValue(key, "x", "x");
    QString group = key.section('\\', 3);
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Brenik Software", "Wirlan3");
    raw.beginGroup(group);
    raw.setValue("Liczba", 5);
    raw.setValue("Dane", QByteArray("\x01\x02", 2));
    raw.sync();
    EXPECT_EQ(settings::readValue(key, "Liczba"), QString("5"));
    EXPECT_FALSE(settings::readValue(key, "Dane"));
}

TEST(SettingsStore, ABatchKeepsItsValuesFromTheFileUntilItEndsAndShowsThemMeanwhile)
{
    const QString key = uniqueProgramKey();
    const QString other = uniqueProgramKey();
    settings::createKey(key);
    settings::createKey(other);
    const QString file =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Brenik Software", "Wirlan3").fileName();
    // The file itself: settings objects of this process would show what is not written yet.
    auto onDisk = [&](const QString& line) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains(line.toUtf8());
    };
    const int writes = settings::storeWrites();
    {
        settings::WriteBatch outer;
        EXPECT_TRUE(settings::writeValue(key, "BatchA", "1"));
        {
            settings::WriteBatch inner;
            EXPECT_TRUE(settings::writeValue(key, "BatchB", "2"));
            EXPECT_TRUE(settings::writeValue(other, "BatchC", "3"));
        }
        EXPECT_EQ(settings::readValue(key, "BatchB"), QString("2"));
        EXPECT_EQ(settings::readValue(other, "BatchC"), QString("3"));
        EXPECT_FALSE(onDisk("BatchA=1")) << "not in the file before the batch ends";
        EXPECT_EQ(settings::storeWrites(), writes);
    }
    EXPECT_EQ(settings::storeWrites(), writes + 1) << "one file, one rewrite";
    EXPECT_TRUE(onDisk("BatchA=1"));
    EXPECT_TRUE(onDisk("BatchB=2"));
    EXPECT_EQ(settings::readValue(other, "BatchC"), QString("3"));
    settings::writeValue(key, "BatchA", "4");  // outside a batch every value goes at once
    EXPECT_TRUE(onDisk("BatchA=4"));
}

class IniFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath("test.ini");
    void writeRaw(const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray raw()
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

TEST_F(IniFile, ReadsLikeTheProfileFunctions)
{
    writeRaw(
        "; komentarz\r\n[DAO]\r\n 3021 = Brak rekordu \r\n3022=\"W cudzysłowie\"\r\n[program]\r\n5=Zły argument\r\n");
    EXPECT_EQ(ini::readString(file, "dao", "3021"), QString("Brak rekordu"));
    EXPECT_EQ(ini::readString(file, "DAO", "3022"), QString("W cudzysłowie"));
    EXPECT_EQ(ini::readString(file, "Program", "5"), QString("Zły argument"));
    EXPECT_FALSE(ini::readString(file, "DAO", "5"));
    EXPECT_FALSE(ini::readString(file, "Brak", "5"));
    EXPECT_FALSE(ini::readString(dir.filePath("nie ma.ini"), "DAO", "5"));
    EXPECT_TRUE(ini::sectionExists(file, "PROGRAM"));
}

TEST_F(IniFile, WritesInPlaceAtSectionEndOrAsNewSectionKeepingOrder)
{
    writeRaw("[A]\r\nk1=1\r\nk2=2\r\n\r\n[B]\r\nk1=b\r\n");
    ASSERT_TRUE(ini::writeString(file, "a", "K2", "zmienione"));
    ASSERT_TRUE(ini::writeString(file, "A", "k3", "3"));
    ASSERT_TRUE(ini::writeString(file, "C", "Źródło", "Zażółć gęślą jaźń"));
    EXPECT_EQ(raw(),
              QString("[A]\r\nk1=1\r\nK2=zmienione\r\nk3=3\r\n\r\n[B]\r\nk1=b\r\n[C]\r\nŹródło=Zażółć gęślą jaźń\r\n")
                  .toUtf8());
    EXPECT_EQ(ini::readString(file, "C", "źródło"), QString("Zażółć gęślą jaźń"));
    ASSERT_TRUE(ini::writeString(file, "C", "Opis", "dwa\r\nwiersze"));
    EXPECT_EQ(ini::readString(file, "C", "Opis"), QString("dwa wiersze"));
}

TEST_F(IniFile, CreatesAMissingFileAndReadsOldCodePageFiles)
{
    ASSERT_TRUE(ini::writeString(file, "S", "k", "v"));
    EXPECT_EQ(ini::readString(file, "S", "k"), QString("v"));
    writeRaw("[Program]\r\n5=B\xB3\xB9\x64 \xBF\xF3\xB3ty\r\n");  // Windows-1250 bytes
    EXPECT_EQ(ini::readString(file, "Program", "5"), QString("Błąd żółty"));
}
