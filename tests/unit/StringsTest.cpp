#include "win/Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, Cp1252KeepsFrenchAndMarksTheRest) {
    EXPECT_EQ(win::ToCp1252(L"Détruire à 5 €"), std::string("D\xE9"
                                                            "truire \xE0 5 \x80"));
    EXPECT_EQ(win::ToCp1252(L"日本.txt"), "??.txt");
    EXPECT_EQ(win::FromCp1252("Fran\xE7"
                              "ais \x80"),
              L"Français €");
}

TEST(Strings, Utf8RoundTrip) {
    const std::wstring text = L"Zoë 日本 \U0001F600";
    EXPECT_EQ(win::FromUtf8(win::ToUtf8(text)), text);
}

TEST(Strings, UpperCaseIncludesAccents) {
    EXPECT_EQ(win::ToUpper(L"          Détruire tout!"), L"          DÉTRUIRE TOUT!");
    EXPECT_EQ(win::ToUpper(L"Arrêter"), L"ARRÊTER");
}

TEST(Strings, TrailingBackslashIsAddedOnce) {
    EXPECT_EQ(win::WithTrailingBackslash(L"C:\\a"), L"C:\\a\\");
    EXPECT_EQ(win::WithTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
    EXPECT_EQ(win::WithTrailingBackslash(L""), L"");
}

}  // namespace
