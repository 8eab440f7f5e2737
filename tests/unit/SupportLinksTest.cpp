#include "app/about/SupportLinks.h"

#include <gtest/gtest.h>

namespace {

TEST(SupportLinks, MailLinkEncodesTheSubjectAsUtf8) {
    EXPECT_EQ(SupportLinks::MailLink(SupportLinks::kSupportAddress, SupportLinks::kMailSubject),
              L"mailto:support@kestavel.fr?subject=Besoin%20d%27aide%20avec%20Kestavel%20Shredder%203.20");
    // Letters beyond ASCII are encoded byte by byte in UTF-8; reserved characters are encoded too.
    EXPECT_EQ(SupportLinks::MailLink(L"a@b.fr", L"Problème & ?=#+~_-."),
              L"mailto:a@b.fr?subject=Probl%C3%A8me%20%26%20%3F%3D%23%2B~_-.");
}

}  // namespace
