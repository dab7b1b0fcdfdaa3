#include "host/scenario_script.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/temp_home.h"

namespace {

TEST(ScenarioScript, LinesKeepTheirNumbersAndLoseCarriageReturns) {
    std::istringstream in("open a.html\r\n\n# note\nclose");
    const ScenarioScript script = ReadScenarioScript(in, "/pages");
    ASSERT_EQ(4u, script.lines.size());
    EXPECT_EQ("open a.html", script.lines[0].text);
    EXPECT_EQ(4, script.lines[3].number);
}

TEST(ScenarioScript, RelativePathsAndAddressesResolveAgainstTheScriptsFolder) {
    testing_support::TempDir folder;
    testing_support::WriteFile(folder.File("s.scenario"), "close\n");
    ScenarioScript script;
    ASSERT_TRUE(LoadScenarioScript(folder.File("s.scenario"), script));
    EXPECT_EQ(folder.File("pages/a.html"), ResolveScriptPath(script, "pages/a.html"));
    EXPECT_EQ(folder.File("a.html"), ResolveScriptPath(script, "./a.html"));
    EXPECT_EQ("/etc/x", ResolveScriptPath(script, "/etc/x"));
    EXPECT_EQ(u"http://shop.test/a?b=c", ResolveScriptAddress(script, u"http://shop.test/a?b=c"));
    EXPECT_EQ(u"about:blank", ResolveScriptAddress(script, u"about:blank"));
    EXPECT_FALSE(LoadScenarioScript(folder.File("missing.scenario"), script));
}

}  // namespace
