// How a site is named: the core name of a host, the label of a registered
// site without a favor name, and the item lists of a saved login.
#include <gtest/gtest.h>

#include "addon/login/item_list.h"
#include "addon/login/site_key.h"

namespace {

struct Naming {
    const char16_t* host;
    const char16_t* name;
};

TEST(SiteKey, TheCoreNameIsTheLabelBeforeTheTopLevelOrCountryAndSecondLevel) {
    for (const Naming& c : std::initializer_list<Naming>{
             {u"www.example.com", u"example"},
             {u"example.com", u"example"},
             {u"a.b.example.co.uk", u"example"},
             {u"shop.example.de", u"shop"},  // a country code is taken as under a second level
             {u"localhost", u"localhost"},
             {u"10.0.0.1", u"0"},
             {u"..example..com.", u"example"},
             {u"uk", u"uk"},  // one two-character label: the host name itself
             {u"", u""},
             {u"...", u""}})
        EXPECT_EQ(c.name, GetCoreDomainName(c.host)) << std::u16string(c.host).size();
}

TEST(SiteKey, TheDisplayNameDropsWwwCountryTopLevelAndLeadingLabels) {
    for (const Naming& c : std::initializer_list<Naming>{{u"www.shop.com", u"shop"},
                                                         {u"mail.shop.co.uk", u"shop"},
                                                         {u"www.shopping.de", u"shopping"},
                                                         {u"www.sho.de", u""},
                                                         {u"a.b.shop.com", u"b.shop"},
                                                         {u"shop.info", u"info"},
                                                         {u"WWW.shop.com", u"shop"},
                                                         {u"www", u""},
                                                         {u"", u""}})
        EXPECT_EQ(c.name, GetSiteDisplayName(c.host)) << std::u16string(c.host).size();
}

TEST(ItemList, EntriesJoinWithOneLineFeedAndSplitWithoutEmptyOnes) {
    EXPECT_EQ(u"a\nb\nc", login::JoinItems({u"a", u"b", u"c"}));
    EXPECT_EQ(u"", login::JoinItems({}));
    EXPECT_EQ(u"\nb", login::JoinItems({u"", u"b"}));
    EXPECT_EQ((std::vector<std::u16string>{u"a", u"b"}), login::SplitItems(u"\na\n\nb\n"));
    EXPECT_TRUE(login::SplitItems(u"").empty());
    EXPECT_FALSE(login::FitsItemList(u"two\nlines"));
    EXPECT_TRUE(login::FitsItemList(u"one line\r"));
}

}  // namespace
