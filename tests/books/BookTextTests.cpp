// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookText.h"
#include "text/TextEncoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <utility>
#include <vector>

using BookText::Format;
using testing::HasSubstr;

namespace {
using Entries = std::vector<std::pair<std::string, std::string>>;

std::string Zip(const Entries& entries, bool encrypt = false) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(out);
    zip_t* archive = zip_open_from_source(out, ZIP_TRUNCATE, &error);
    for (const auto& [name, data] : entries) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, 0);
        zip_set_file_compression(archive, index, ZIP_CM_DEFLATE, 1);
        if (encrypt && name != "mimetype")
            zip_file_set_encryption(archive, index, ZIP_EM_TRAD_PKWARE, "secret");
    }
    zip_close(archive);
    zip_stat_t stat;
    zip_source_stat(out, &stat);
    std::string bytes(stat.size, '\0');
    zip_source_open(out);
    zip_source_read(out, bytes.data(), stat.size);
    zip_source_close(out);
    zip_source_free(out);
    return bytes;
}

std::string Xhtml(const std::string& body) {
    return "<?xml version='1.0'?><html xmlns='http://www.w3.org/1999/xhtml'><head><title>T"
           "</title></head><body>" +
           body + "</body></html>";
}

// An EPUB whose package document OEBPS/p.opf has items a, b, c (a out of the reading order).
Entries Epub(const std::string& rootfile = "OEBPS/p.opf") {
    return {{"mimetype", "application/epub+zip"},
            {"META-INF/container.xml",
             "<container xmlns='urn:oasis:names:tc:opendocument:xmlns:container'><rootfiles>"
             "<rootfile full-path='" +
                 rootfile + "'/></rootfiles></container>"},
            {"OEBPS/p.opf",
             "<package xmlns='http://www.idpf.org/2007/opf' version='3.0'><manifest>"
             "<item id='a' href='a.xhtml' media-type='application/xhtml+xml'/>"
             "<item id='b' href='sub/b%20b.xhtml#top' media-type='application/xhtml+xml'/>"
             "<item id='c' href='c.html' media-type='text/html'/>"
             "<item id='b2' href='sub/b%20b.xhtml#later' media-type='application/xhtml+xml'/>"
             "</manifest><spine><itemref idref='a' linear='no'/><itemref idref='b'/>"
             "<itemref idref='c'/><itemref idref='b2'/></spine></package>"},
            {"OEBPS/a.xhtml", Xhtml("<p>A</p>")},
            {"OEBPS/sub/b b.xhtml", Xhtml("<p>B&nbsp;b</p>tail")},
            {"OEBPS/c.html", "<p>C &eacute;<p>D"}};
}

Entries Replaced(Entries entries, const std::string& name, const std::string& data) {
    for (auto& entry : entries)
        if (entry.first == name)
            entry.second = data;
    if (!data.empty() && name.starts_with("META-INF/encryption"))
        entries.emplace_back(name, data);
    return entries;
}

std::string FictionBook(const std::string& body, const std::string& encoding = "utf-8") {
    return "<?xml version='1.0' encoding='" + encoding +
           "'?><FictionBook xmlns="
           "'http://www.gribuser.ru/xml/fictionbook/2.0'><description><title-info><book-title>"
           "Title</book-title></title-info></description>" +
           body + "</FictionBook>";
}

struct SRead {
    std::optional<std::string> Text;
    std::string Error;
    TableOfContents Contents;
};

SRead Read(const std::string& bytes, Format format, const BookText::Progress& progress = {}) {
    SRead result;
    result.Text = BookText::Read(bytes, format, result.Error, progress, &result.Contents);
    return result;
}

// An entry as "offset level title", to compare tables at a glance.
std::vector<std::string> Listed(const TableOfContents& contents) {
    std::vector<std::string> entries;
    for (const SChapter& chapter : contents)
        entries.push_back(std::to_string(chapter.Offset) + " " + std::to_string(chapter.Level) +
                          " " + chapter.Title);
    return entries;
}

// An EPUB of two documents and a table, as a navigation document or as an NCX.
Entries TabledEpub(bool nav, const std::string& table) {
    const std::string manifest =
        "<item id='a' href='a.xhtml' media-type='application/xhtml+xml'/>"
        "<item id='b' href='b.xhtml' media-type='application/xhtml+xml'/>" +
        std::string(nav ? "<item id='n' href='toc/nav.xhtml' properties='nav' "
                          "media-type='application/xhtml+xml'/>"
                        : "<item id='x' href='toc.ncx' media-type='application/x-dtbncx+xml'/>");
    return {
        {"mimetype", "application/epub+zip"},
        {"META-INF/container.xml",
         "<container xmlns='urn:oasis:names:tc:opendocument:xmlns:container'><rootfiles>"
         "<rootfile full-path='OEBPS/p.opf'/></rootfiles></container>"},
        {"OEBPS/p.opf", "<package xmlns='http://www.idpf.org/2007/opf' version='3.0'><manifest>" +
                            manifest + "</manifest><spine" + (nav ? "" : " toc='x'") +
                            "><itemref idref='a'/><itemref idref='b'/></spine></package>"},
        {"OEBPS/a.xhtml", Xhtml("<p>Intro</p>")},
        {"OEBPS/b.xhtml", Xhtml("<p>One</p><p id='two'>Two</p>")},
        {nav ? "OEBPS/toc/nav.xhtml" : "OEBPS/toc.ncx", table}};
}
} // namespace

TEST(BookText, Html_Blocks_OneLineEachWithWhiteSpaceCollapsed) {
    const struct {
        const char* Name;
        const char* Body;
        const char* Expected;
    } rows[] = {
        {"blanks collapsed, empty blocks left out",
         "<p>  a \n\t b  </p><p></p><div> <span> </span></div>", "a b\n"},
        {"nested blocks", "<div>x <p>y</p> z</div>", "x\ny\nz\n"},
        {"line breaks", "<p>a<br>b <br> c</p>", "a\nb\nc\n"},
        {"preformatted kept", "<pre>  a\r\n  b </pre>", "  a\n  b \n"},
        {"table cells", "<table><tr><td>a</td><td> b</td></tr><tr><th>c</th></tr></table>",
         "a b\nc\n"},
        {"loose text", "loose <b>text</b><p>p</p>tail", "loose text\np\ntail\n"},
        {"entities, images and scripts",
         "<p>&amp;&lt;&eacute;&#x263A;<img alt='pic' src='x'><script>s()</script></p>",
         "&<\xC3\xA9\xE2\x98\xBA\n"},
        {"headings, lists, quotes and figures",
         "<h1>H</h1><ul><li>one</li><li>two</li></ul><blockquote>q</blockquote><dl><dt>t"
         "<dd>d</dl><figure><figcaption>f</figcaption></figure>",
         "H\none\ntwo\nq\nt\nd\nf\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::string html = std::string("<html><head><title>T</title><style>p{}</style>"
                                             "</head><body>") +
                                 row.Body + "</body></html>";
        EXPECT_EQ(Read(html, Format::Html).Text, row.Expected);
    }
}

// A document the spine names again at another fragment is read once.
TEST(BookText, Epub_Spine_InOrderWithOutOfOrderItemsLast) {
    const SRead read = Read(Zip(Epub()), Format::Epub);
    EXPECT_EQ(read.Text, "B\xC2\xA0"
                         "b\ntail\nC \xC3\xA9\nD\nA\n")
        << read.Error;
}

TEST(BookText, Epub_Progress_ToldBeforeEachSpineItem) {
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    Read(Zip(Epub()), Format::Epub, [&](uint64_t done, uint64_t total) {
        calls.emplace_back(done, total);
        return true;
    });
    EXPECT_EQ(calls, (std::vector<std::pair<uint64_t, uint64_t>>{{0, 3}, {1, 3}, {2, 3}}));
}

TEST(BookText, FictionBook_Bodies_TitlesVersesAndNotesLast) {
    const std::string notes = "<body name='notes'><section><p>note</p></section></body>";
    const std::string body =
        "<body><title><p>Chapter</p></title><section><p>one <emphasis>two</emphasis></p>"
        "<empty-line/><poem><stanza><v>verse</v></stanza><text-author>Poet</text-author>"
        "</poem><subtitle>* * *</subtitle><image href='#i'/></section></body>";
    EXPECT_EQ(Read(FictionBook(notes + body), Format::FictionBook).Text,
              "Chapter\none two\nverse\nPoet\n* * *\nnote\n");
}

TEST(BookText, FictionBook_DeclaredCodePage_ReadAsUtf8) {
    const std::string book =
        FictionBook("<body><p>\xCF\xF0\xE8\xE2\xE5\xF2</p></body>", "windows-1251");
    EXPECT_EQ(Read(book, Format::FictionBook).Text,
              "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n");
}

TEST(BookText, FictionBook_UndefinedEntities_ReadAsTheirCharacterOrTheirName) {
    const std::string book = FictionBook("<body><p>a&nbsp;b &madeup; c &nbsp;</p></body>");
    EXPECT_EQ(Read(book, Format::FictionBook).Text, "a\xC2\xA0"
                                                    "b madeup c \xC2\xA0\n");
}

TEST(BookText, Contents_HtmlHeadingsAndFictionBookSections_NestedWhereTheyBegin) {
    const SRead html = Read("<html><body><h1>Book</h1><p>x</p><h2>First <b>part</b></h2><h4>no"
                            "</h4><h3>Deep</h3><h2></h2><h2>Out<h1>In</h1></h2></body></html>",
                            Format::Html);
    EXPECT_EQ(Listed(html.Contents),
              (std::vector<std::string>{"0 0 Book", "7 1 First part", "21 2 Deep", "26 1 Out In",
                                        "30 0 In"}))
        << *html.Text;
    const std::string body = "<body><title><p>Book</p></title><section><title><p>One</p>"
                             "</title><p>a</p><section><title><p>One.1</p><p>sub</p></title>"
                             "<p>b</p></section></section></body>"
                             "<body name='notes'><section><title><p>Note</p></title></section>"
                             "</body>";
    const SRead fb2 = Read(FictionBook(body), Format::FictionBook);
    EXPECT_EQ(Listed(fb2.Contents), (std::vector<std::string>{"5 0 One", "11 1 One.1 sub"}))
        << *fb2.Text;
}

// The table holds the sections of the main body, wherever it is, or else of the first
// body of notes.
TEST(BookText, Contents_FictionBookBodies_FromTheFirstInReadingOrder) {
    const std::string one = "<body name='n'><section><title><p>One</p></title></section></body>";
    const std::string two = "<body><section><title><p>Two</p></title><p>x</p></section></body>";
    const std::string three = "<body name='m'><section><title><p>Three</p></title></section>"
                              "</body>";
    const struct {
        const char* Name;
        std::string Body;
        const char* Text;
        std::vector<std::string> Contents;
    } rows[] = {
        {"main body after notes", one + two, "Two\nx\nOne\n", {"0 0 Two"}},
        {"notes only", one + three, "One\nThree\n", {"0 0 One"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const SRead read = Read(FictionBook(row.Body), Format::FictionBook);
        EXPECT_EQ(read.Text, row.Text) << read.Error;
        EXPECT_EQ(Listed(read.Contents), row.Contents);
    }
}

// Entries land where their document, or the element their fragment names, begins; one
// whose document is missing is left out; an NCX serves when there is no navigation
// document.
TEST(BookText, Contents_EpubNavigationOrNcx_AtDocumentsAndFragments) {
    const std::string nav =
        "<html xmlns='http://www.w3.org/1999/xhtml' xmlns:epub='http://www.idpf.org/2007/ops'>"
        "<body><nav epub:type='toc'><ol><li><a href='../a.xhtml'>Intro</a></li><li><a "
        "href='../b.xhtml'>Part</a><ol><li><a href='../b.xhtml#two'>Two</a></li><li><a "
        "href='../gone.xhtml'>Gone</a></li><li><a href='../b.xhtml#nowhere'>Lost</a></li></ol>"
        "</li></ol></nav></body></html>";
    const std::string ncx =
        "<ncx xmlns='http://www.daisy.org/z3986/2005/ncx/'><navMap><navPoint><navLabel><text>"
        "Intro</text></navLabel><content src='a.xhtml'/></navPoint><navPoint><navLabel><text>"
        "Part</text></navLabel><content src='b.xhtml'/><navPoint><navLabel><text>Two</text>"
        "</navLabel><content src='b.xhtml#two'/></navPoint></navPoint></navMap></ncx>";
    const SRead fromNav = Read(Zip(TabledEpub(true, nav)), Format::Epub);
    const SRead fromNcx = Read(Zip(TabledEpub(false, ncx)), Format::Epub);
    ASSERT_EQ(fromNav.Text, "Intro\nOne\nTwo\n") << fromNav.Error;
    EXPECT_EQ(Listed(fromNav.Contents),
              (std::vector<std::string>{"0 0 Intro", "6 0 Part", "6 1 Lost", "10 1 Two"}));
    EXPECT_EQ(Listed(fromNcx.Contents),
              (std::vector<std::string>{"0 0 Intro", "6 0 Part", "10 1 Two"}));
}

TEST(BookText, FictionBookZip_BookInside_Read) {
    const std::string zipped = Zip({{"Book.FB2", FictionBook("<body><p>z</p></body>")}});
    EXPECT_EQ(Read(zipped, Format::FictionBookZip).Text, "z\n");
}

TEST(BookText, Detect_ByContentNameOnlyForHtml) {
    const std::string fb2 = FictionBook("<body/>");
    const struct {
        const char* Name;
        std::string Bytes;
        const char* FileName;
        Format Expected;
    } rows[] = {
        {"EPUB named zip", Zip(Epub()), "book.zip", Format::Epub},
        {"zipped FictionBook", Zip({{"a/book.fb2", fb2}}), "book.epub", Format::FictionBookZip},
        {"zip of neither", Zip({{"readme.txt", "x"}}), "book.epub", Format::PlainText},
        {"FictionBook after a mark", "\xEF\xBB\xBF" + fb2, "book.txt", Format::FictionBook},
        {"PDF", "%PDF-1.7\n", "book.txt", Format::Pdf},
        {"HTML doctype", "\n<!DOCTYPE html><p>x", "book.txt", Format::Html},
        {"HTML by name", "<p>x</p>", "book.HTM", Format::Html},
        {"markup in a text file", "<p>x</p>", "book.txt", Format::PlainText},
        {"truncated EPUB", Zip(Epub()).substr(0, 300), "book.epub", Format::DamagedZip},
        {"PDF after a mark and a line", "\xEF\xBB\xBF\n%PDF-1.4\n", "a.txt", Format::Pdf},
        {"PDF header in a text", "Files begin with %PDF-1.7\n", "a.pdf", Format::PlainText},
        {"FictionBook named in prose", "<b>On</b> the <FictionBook> root", "a.txt",
         Format::PlainText},
        {"prefixed FictionBook", "<?xml version='1.0'?>\n<fb:FictionBook xmlns:fb='x'>", "a.txt",
         Format::FictionBook},
        {"FictionBook after a long comment and a doctype",
         "<!--" + std::string(5000, '-') + " -->\n<!DOCTYPE FictionBook [<!ENTITY a '>'>]>" + fb2,
         "a.txt", Format::FictionBook},
        {"html as a word", "<html> is the root of a page.", "a.txt", Format::PlainText},
        {"html root", "<html lang='en'>\n<head>", "a.txt", Format::Html},
        {"UTF-16 FictionBook", *TextEncoding::FromUtf8("\uFEFF" + fb2, "UTF-16BE"), "a.txt",
         Format::FictionBook},
        {"UTF-32 page without a mark", *TextEncoding::FromUtf8("<html><p>x", "UTF-32LE"), "a.txt",
         Format::Html},
        {"UTF-16 text", *TextEncoding::FromUtf8("\uFEFF<b> is bold", "UTF-16LE"), "a.htm",
         Format::Html},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(BookText::Detect(row.Bytes, row.FileName), row.Expected);
    }
}

// Their declaration, a doctype or a meta element may name the encoding, or nothing does.
TEST(BookText, WideBooks_ReadAsTheirText) {
    const struct {
        const char* Name;
        std::string Utf8;
        const char* Encoding;
        Format Kind;
    } rows[] = {
        {"UTF-16 FictionBook",
         "\uFEFF" + FictionBook("<body><p>\u00E9 t&eacute;</p></body>", "UTF-16"), "UTF-16LE",
         Format::FictionBook},
        {"UTF-32 prefixed FictionBook",
         "<?xml version='1.0' encoding='UTF-32'?><fb:FictionBook xmlns:fb='f'><fb:body><fb:p>"
         "\u00E9 t\u00E9</fb:p></fb:body></fb:FictionBook>",
         "UTF-32BE", Format::FictionBook},
        {"UTF-16 page without a mark",
         "<html><head><meta charset='utf-16'></head><body><p>\u00E9 t\u00E9</p></body></html>",
         "UTF-16BE", Format::Html},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::string bytes = *TextEncoding::FromUtf8(row.Utf8, row.Encoding);
        ASSERT_EQ(BookText::Detect(bytes, "a.txt"), row.Kind);
        const SRead read = Read(bytes, row.Kind);
        EXPECT_EQ(read.Text, "\u00E9 t\u00E9\n") << read.Error;
    }
}

TEST(BookText, Epub_DamagedEncryptedOrIncomplete_RefusedNamingWhy) {
    const std::string good = Zip(Epub());
    const std::string encryption =
        "<encryption xmlns='urn:oasis:names:tc:opendocument:xmlns:container' xmlns:enc="
        "'http://www.w3.org/2001/04/xmlenc#'><enc:EncryptedData><enc:CipherData>"
        "<enc:CipherReference URI='OEBPS/c.html'/></enc:CipherData></enc:EncryptedData>"
        "</encryption>";
    Entries withoutC = Epub();
    withoutC.pop_back();
    const struct {
        const char* Name;
        std::string Bytes;
        const char* Message;
    } rows[] = {
        {"package outside", Zip(Epub("../p.opf")), "points outside the book"},
        {"package missing", Zip(Epub("OEBPS/none.opf")),
         "OEBPS/none.opf named by META-INF/container.xml is missing"},
        {"no rootfile", Zip(Replaced(Epub(), "META-INF/container.xml", "<container/>")),
         "no package document"},
        {"DRM", Zip(Replaced(Epub(), "META-INF/encryption.xml", encryption)), "encrypted (DRM)"},
        {"zip encryption", Zip(Epub(), true), "encrypted"},
        {"truncated", good.substr(0, good.size() / 2), "the zip file is damaged"},
        {"spine item missing", Zip(withoutC),
         "the spine item OEBPS/c.html is missing from the EPUB"},
        {"long path cut", Zip(Epub(std::string(60'000, 'p'))),
         "ppp\u2026 named by META-INF/container.xml is missing"},
        {"package held whole over 1 MiB",
         Zip(Replaced(Epub(), "OEBPS/p.opf",
                      "<package>" + std::string(2 << 20, ' ') + "</package>")),
         "\"OEBPS/p.opf\" unpacks to more than 1 MiB"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const SRead read = Read(row.Bytes, Format::Epub);
        EXPECT_FALSE(read.Text);
        EXPECT_THAT(read.Error, HasSubstr(row.Message));
        EXPECT_LT(read.Error.size(), 300u);
    }
}

// The parser halts where elements nest too deep: what it read so far is not the book.
TEST(BookText, ParserStoppedEarly_RefusedAsDamaged) {
    std::string unclosed = "<html><body>";
    for (int line = 0; line < 200; ++line)
        unclosed += "<font><p>line\n";
    unclosed += "THE END.";
    std::string nested;
    for (int level = 0; level < 100'000; ++level)
        nested += "<div>";
    nested += "x";
    const struct {
        const char* Name;
        std::string Bytes;
        Format Kind;
        const char* Message;
    } rows[] = {
        {"unclosed fonts and paragraphs", unclosed, Format::Html,
         "the HTML file is damaged: its elements nest more than 256 deep"},
        {"nested elements", nested, Format::Html, "nest more than 256 deep"},
        {"nested in an EPUB", Zip(Replaced(Epub(), "OEBPS/a.xhtml", Xhtml(nested))), Format::Epub,
         "the spine item OEBPS/a.xhtml is damaged: its elements nest"},
        {"nested in a FictionBook", FictionBook("<body>" + nested + "</body>"), Format::FictionBook,
         "the FictionBook is damaged: its elements nest"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const SRead read = Read(row.Bytes, row.Kind);
        EXPECT_FALSE(read.Text);
        EXPECT_THAT(read.Error, HasSubstr(row.Message));
    }
}

// The bytes are counted as they are unpacked, whatever the size field of the central
// directory, 24 bytes into the entry, says: here 16 bytes.
TEST(BookText, Epub_ItemOverCapUnpacked_RefusedAsZipBomb) {
    const std::string zeros(size_t{300} << 20, '\0');
    std::string bomb = Zip(Replaced(Epub(), "OEBPS/c.html", zeros));
    const size_t entry = bomb.rfind("OEBPS/c.html") - 46;
    ASSERT_EQ(bomb.substr(entry, 4), "PK\x01\x02");
    bomb.replace(entry + 24, 4, std::string("\x10\0\0\0", 4));
    const SRead read = Read(bomb, Format::Epub);
    EXPECT_FALSE(read.Text);
    EXPECT_EQ(read.Error, "\"OEBPS/c.html\" unpacks to more than 256 MiB (a zip bomb?)");
}

TEST(BookText, Epub_XhtmlWithDoctype_ReadAsXmlWithHtmlEntities) {
    const std::string doctype = "<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.1//EN' "
                                "'http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd'>";
    const std::string page = Xhtml("<p>x&nbsp;y<div/>z</p><p><![CDATA[<c>]]></p>");
    const std::string withDoctype = page.substr(0, 21) + doctype + page.substr(21);
    const SRead read = Read(Zip(Replaced(Epub(), "OEBPS/a.xhtml", withDoctype)), Format::Epub);
    EXPECT_EQ(read.Text, "B\xC2\xA0"
                         "b\ntail\nC \xC3\xA9\nD\nx\xC2\xA0y\nz\n<c>\n")
        << read.Error;
}

TEST(BookText, FictionBook_ExternalEntity_NotRead) {
    const std::string external = "<?xml version='1.0'?><!DOCTYPE FictionBook [<!ENTITY x SYSTEM "
                                 "'file:///etc/passwd'>]><FictionBook><body><p>a&x;</p></body>"
                                 "</FictionBook>";
    EXPECT_EQ(Read(external, Format::FictionBook).Text, "a\n");
}

// An entity's content is kept once, however often it is named: what the names expand to
// is bounded, in the text and in every attribute read.
TEST(BookText, HostileEntities_RefusedWithinSeconds) {
    const auto repeated = [](const std::string& part, int times) {
        std::string whole;
        for (int i = 0; i < times; ++i)
            whole += part;
        return whole;
    };
    std::string laughs = "<!ENTITY l0 'lol'>";
    for (int level = 1; level <= 9; ++level)
        laughs += "<!ENTITY l" + std::to_string(level) + " '" +
                  repeated("&l" + std::to_string(level - 1) + ";", 10) + "'>";
    const auto book = [](const std::string& entities, const std::string& body) {
        return "<?xml version='1.0'?><!DOCTYPE FictionBook [" + entities +
               "]><FictionBook><body><p>" + body + "</p></body></FictionBook>";
    };
    const std::string container = "<?xml version='1.0'?><!DOCTYPE container [<!ENTITY a '" +
                                  std::string(50'000, 'a') +
                                  "'>]><container><rootfiles><rootfile full-path='" +
                                  repeated("&a;", 20'000) + "'/></rootfiles></container>";
    const struct {
        const char* Name;
        std::string Bytes;
        Format Kind;
        const char* Message;
    } rows[] = {
        {"entities naming entities", book(laughs, "&l9;"), Format::FictionBook, "entity"},
        {"many elements named often",
         book("<!ENTITY b '" + repeated("<b/>", 250'000) + "'>", repeated("&b;", 200'000)),
         Format::FictionBook, "its entities expand to more than a million nodes"},
        {"long text named often",
         book("<!ENTITY t '" + std::string(1 << 20, 't') + "'>", repeated("&t;", 100)),
         Format::FictionBook, "or 64 MiB of text"},
        {"long package path", Zip(Replaced(Epub(), "META-INF/container.xml", container)),
         Format::Epub, "its package path is over 64 KiB long"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const SRead read = Read(row.Bytes, row.Kind);
        EXPECT_FALSE(read.Text);
        EXPECT_THAT(read.Error, HasSubstr(row.Message));
    }
}
