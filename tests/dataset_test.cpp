#include "host/dataset/dataset.h"
#include "support/dataset_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using host::DatasetEncoding;
using host::EDatabaseError;
using host::StringDataset;
using host::TClientDataSet;

const std::string kFixtures = std::string(TZC_FIXTURES) + "/cds/";
const char* const kFixtureFiles[] = {"country.cds", "customer.cds", "employee.cds", "industry.cds", "clients.xml"};

std::string ReadFixture(const std::string& name)
{
    std::ifstream in(kFixtures + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The message of the EDatabaseError that loading bytes raises, or "" when they load.
std::string LoadError(std::string_view bytes, const std::string& source = "test.cds")
{
    try {
        TClientDataSet dataset;
        dataset.LoadFromBytes(bytes, source);
        return "";
    } catch (const EDatabaseError& error) {
        return error.what();
    }
}

std::string Le(std::uint64_t value, int width)
{
    std::string bytes;
    for (int i = 0; i < width; ++i, value >>= 8)
        bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

// A binary file of one field "V" of the given type and size, and one record holding value.
std::string OneValueFile(unsigned type, unsigned size, std::string_view value)
{
    const std::string descriptor = "\x01V" + Le(size, 2) + Le(type, 2) + Le(0, 2) + Le(0, 2);
    const std::size_t header_size = 24 + descriptor.size() + 2;
    return std::string("\x96\x19\xE0\xBD", 4) + Le(1, 4) + Le(24, 4) + Le(1, 2) + Le(1, 4) + Le(3, 4) +
           Le(header_size, 2) + descriptor + Le(0, 2) + std::string(2, '\0') + std::string(value);
}

std::string XmlFile(std::string_view fields, std::string_view rows, std::string_view declaration = "")
{
    return std::string(declaration) + "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" + std::string(fields) +
           "</FIELDS><PARAMS/></METADATA><ROWDATA>" + std::string(rows) + "</ROWDATA></DATAPACKET>";
}

struct TempDir {
    TempDir()
        : path(std::filesystem::temp_directory_path() / ("dataset_test_" + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

TEST(DatasetFixtures, ReadsTheFrameworksOwnFiles)
{
    struct Case {
        const char* file;
        std::size_t record;  // 1-based
        const char* field;
        const char* text;
    };
    const Case cases[] = {
        {"country.cds", 1, "Name", "Argentina"},
        {"country.cds", 1, "Capital", "Buenos Aires"},
        {"country.cds", 1, "Continent", "South America"},
        {"country.cds", 1, "Area", "2777815"},
        {"country.cds", 1, "Population", "32300003"},
        {"country.cds", 16, "Name", "United States of America"},
        {"country.cds", 18, "Capital", "Caracas"},
        {"customer.cds", 1, "CustNo", "1221"},
        {"customer.cds", 1, "Company", "Kauai Dive Shoppe"},
        {"customer.cds", 1, "TaxRate", "8.5"},
        {"customer.cds", 2, "Addr2", ""},  // null
        {"customer.cds", 2, "State", ""},
        {"customer.cds", 2, "Country", "Bahamas"},
        {"customer.cds", 2, "TaxRate", "0"},
        {"customer.cds", 55, "Contact", "Louise Franks"},
        {"employee.cds", 1, "EmpNo", "2"},
        {"employee.cds", 1, "LastName", "Nelson"},
        {"employee.cds", 1, "Salary", "40000"},
        {"employee.cds", 6, "Salary", "33292.9375"},
        {"employee.cds", 24, "PhoneExt", ""},
        {"employee.cds", 42, "LastName", "Guckenheimer"},
        {"industry.cds", 1, "IND_CODE", "3579"},
        {"industry.cds", 2, "LONG_NAME", "Auto & Truck"},
        {"industry.cds", 7, "IND_NAME", "Tele"},
        {"clients.xml", 1, "LAST_NAME", "Davis"},
        {"clients.xml", 1, "ACCT_NBR", "1023495"},
        {"clients.xml", 1, "ZIP", "02181"},
        {"clients.xml", 5, "INTERESTS", "Enjoys fishing, skiing, and skydiving."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " record " + std::to_string(c.record) + " " + c.field);
        TClientDataSet dataset;
        dataset.LoadFromFile(kFixtures + c.file);
        dataset.MoveTo(c.record - 1);
        EXPECT_EQ(dataset.FieldByName(c.field).AsString(), c.text);
    }
}

TEST(DatasetFixtures, EveryFieldOfEveryRecordHasItsText)
{
    struct Shape {
        const char* file;
        std::size_t fields;
        std::size_t records;
        std::set<std::string> without_text;  // dates: loading works, only their text is refused
    };
    const Shape shapes[] = {
        {"country.cds", 5, 18, {}},
        {"customer.cds", 13, 55, {"LastInvoiceDate"}},
        {"employee.cds", 6, 42, {"HireDate"}},
        {"industry.cds", 3, 7, {}},
        {"clients.xml", 17, 5, {"DATE_OPEN", "BIRTH_DATE"}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.file);
        TClientDataSet dataset;
        dataset.LoadFromFile(kFixtures + shape.file);
        ASSERT_EQ(dataset.FieldNames().size(), shape.fields);
        ASSERT_EQ(dataset.RecordCount(), shape.records);
        for (std::size_t r = 0; r < dataset.RecordCount(); ++r) {
            dataset.MoveTo(r);
            for (const std::string& name : dataset.FieldNames()) {
                const host::TField& field = dataset.FieldByName(name);
                if (shape.without_text.count(name) != 0) {
                    EXPECT_THROW(field.AsString(), EDatabaseError) << name;
                } else if (!field.IsNull() && name != "IMAGE") {
                    EXPECT_FALSE(field.AsString().empty()) << name << " of record " << r + 1;
                    for (char c : field.AsString())
                        EXPECT_GE(static_cast<unsigned char>(c), 0x20) << name << " of record " << r + 1;
                }
            }
        }
    }
}

TEST(DatasetFixtures, EveryTruncationIsRefused)
{
    for (const char* file : kFixtureFiles) {
        const std::string bytes = ReadFixture(file);
        ASSERT_FALSE(bytes.empty()) << file;
        ASSERT_EQ(LoadError(bytes), "") << file;
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            const std::string error = LoadError(std::string_view(bytes).substr(0, size), file);
            ASSERT_EQ(error.rfind(std::string(file) + ": ", 0), 0u) << file << " cut to " << size << ": " << error;
        }
    }
}

// Random damage must end in EDatabaseError or a dataset; any other exception, a crash or an
// out-of-bounds read (under the sanitizers) fails.
TEST(DatasetFixtures, RandomDamageIsAnErrorOrAFile)
{
    std::mt19937 random(4182);
    for (const char* file : kFixtureFiles) {
        const std::string original = ReadFixture(file);
        ASSERT_FALSE(original.empty()) << "fixture missing or empty: " << kFixtures << file;
        const int rounds = original.size() > 50000 ? 100 : 400;
        for (int round = 0; round < rounds; ++round) {
            std::string bytes = original;
            const int changes = 1 + round % 4;
            for (int c = 0; c < changes; ++c)
                bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
            try {
                TClientDataSet dataset;
                dataset.LoadFromBytes(bytes, file);
                for (std::size_t r = 0; r < dataset.RecordCount(); ++r) {
                    dataset.MoveTo(r);
                    for (const std::string& name : dataset.FieldNames())
                        try {
                            (void)dataset.FieldByName(name).AsString();
                        } catch (const EDatabaseError&) {
                        }
                }
            } catch (const EDatabaseError&) {
            }
        }
    }
}

TEST(DatasetBinary, DamagedFilesAreReportedWithTheProblem)
{
    const std::string country = ReadFixture("country.cds");
    const auto patched = [&](std::size_t offset, std::string_view bytes) {
        std::string copy = country;
        copy.replace(offset, bytes.size(), bytes);
        return copy;
    };
    struct Case {
        std::string bytes;
        const char* problem;
    };
    const Case cases[] = {
        {"", "empty file"},
        {"hello", "not a dataset file"},
        {patched(3, std::string(1, '\0')), "not a dataset file"},
        {country.substr(0, 2), "truncated header at byte 0"},
        {country.substr(0, 30), "truncated field descriptor at byte 29"},
        {patched(14, Le(19, 4)), "truncated record 19"},
        {patched(14, Le(17, 4)), "unexpected data after the last record"},
        {patched(14, Le(0x80000000u, 4)), "negative record count"},
        {patched(22, Le(10, 2)), "header size 10 too small"},
        {patched(22, Le(199, 2)), "run past the header size 199"},
        {patched(0x1F, Le(0x3F, 2)), "unknown field type 0x3F of field 'Name'"},
        {patched(0x1F, Le(0x89, 2)), "unsupported field type 0x89"},
        {patched(0x1D, Le(3, 2)), "invalid length-prefix size 3 of field 'Name'"},
        {patched(0x70, Le(5, 2)), "invalid size 5 of field 'Area'"},
        {patched(0x18, std::string(1, '\0')), "empty field name"},
        {patched(0xCB, "\xFF"), "at byte"},
        {country + "x", "unexpected data after the last record at byte 1117"},
        {OneValueFile(0x4A, 1, "\x03" "abc"), "odd byte count"},
        {OneValueFile(0x41, 1, "\x01"), "cannot have a variable length"},
    };
    for (const Case& c : cases) {
        const std::string error = LoadError(c.bytes);
        EXPECT_NE(error.find(c.problem), std::string::npos) << "wanted '" << c.problem << "', got '" << error << "'";
        EXPECT_EQ(error.rfind("test.cds: ", 0), 0u) << error;
    }
}

TEST(DatasetBinary, EachTypeHasTheFrameworksText)
{
    struct Case {
        unsigned type;
        unsigned size;
        std::string value;
        std::optional<std::string> text;  // nullopt: no text form
    };
    const Case cases[] = {
        {0x01, 1, "\xFF", "-1"},
        {0x01, 2, "\xFE\xFF", "-2"},
        {0x01, 4, Le(123456789, 4), "123456789"},
        {0x01, 8, Le(0x8000000000000000u, 8), "-9223372036854775808"},
        {0x02, 1, "\xFF", "255"},
        {0x02, 4, Le(0xFFFFFFFFu, 4), "4294967295"},
        {0x02, 8, Le(UINT64_MAX, 8), "18446744073709551615"},
        {0x03, 2, Le(1, 2), "True"},
        {0x03, 2, Le(0, 2), "False"},
        {0x04, 8, Le(0x3FB999999999999Au, 8), "0.1"},
        {0x04, 8, Le(0xC004000000000000u, 8), "-2.5"},
        {0x04, 8, Le(0x4145316B80000000u, 8), "2777815"},
        {0x04, 4, Le(0x3DCCCCCDu, 4), "0.1"},
        {0x09, 4, std::string("AB\0\0", 4), "AB"},
        {0x49, 1, "\x03\xC7\xE3o", "\xC7\xE3o"},
        {0x49, 2, Le(2, 2) + "ok", "ok"},
        {0x49, 4, Le(0, 4), ""},
        {0x4A, 2, Le(6, 2) + std::string("\xC7\x00\xAC\x20\x2D\x4E", 6), "\xC7\x80?"},
        {0x4B, 4, Le(3, 4) + std::string("\x00\x01\x02", 3), std::string("\x00\x01\x02", 3)},
        {0x05, 34, std::string(34, '\0'), std::nullopt},
        {0x06, 4, Le(738000, 4), std::nullopt},
        {0x07, 4, Le(3600000, 4), std::nullopt},
        {0x08, 8, Le(0x42CC874F4FEA0000u, 8), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " size " + std::to_string(c.size));
        TClientDataSet dataset;
        dataset.LoadFromBytes(OneValueFile(c.type, c.size, c.value), "one.cds");
        if (!c.text) {
            try {
                (void)dataset.FieldByName("V").AsString();
                ADD_FAILURE() << "a value without text form was shown";
            } catch (const EDatabaseError& error) {
                EXPECT_EQ(std::string(error.what()).rfind("one.cds: field 'V' holds", 0), 0u) << error.what();
            }
        } else {
            EXPECT_EQ(dataset.FieldByName("V").AsString(), *c.text);
        }
    }
}

TEST(DatasetXml, ValuesOfEachTypeAndEscape)
{
    struct Case {
        const char* fieldtype;
        const char* stored;  // the ROW attribute as written, nullptr: absent
        const char* text;    // nullptr: no text form
    };
    const Case cases[] = {
        {"string", "a&amp;b&lt;&gt;&quot;&apos;", "a&b<>\"'"},
        {"string", "&#199;&#xe7;&#8364;&#x4E2D;", "\xC7\xE7\x80?"},
        {"string", "\xC7" "\xE3o", "\xC7\xE3o"},  // Windows-1252 bytes as stored
        {"string", "", ""},
        {"string", nullptr, ""},
        {"i4", "-12", "-12"},
        {"i2", "007", "7"},
        {"ui4", "4294967295", "4294967295"},
        {"i8", "-9223372036854775808", "-9223372036854775808"},
        {"r8", "8.50", "8.5"},
        {"r8", "1.5E+3", "1500"},
        {"r8", "2777815", "2777815"},
        {"boolean", "TRUE", "True"},
        {"boolean", "false", "False"},
        {"bin.hex", "QUJD", "ABC"},
        {"bin.hex", "QUI=", "AB"},
        {"date", "19930101", nullptr},
        {"dateTime", "19930101T10:00:00000", nullptr},
        {"fixed", "12.50", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fieldtype) + " " + (c.stored ? c.stored : "(absent)"));
        const std::string row = c.stored ? std::string("<ROW V=\"") + c.stored + "\"/>" : "<ROW/>";
        TClientDataSet dataset;
        const std::string field = std::string("<FIELD attrname=\"V\" fieldtype=\"") + c.fieldtype + "\"/>";
        dataset.LoadFromBytes(XmlFile(field, row), "x.xml");
        if (c.text == nullptr)
            EXPECT_THROW((void)dataset.FieldByName("V").AsString(), EDatabaseError);
        else
            EXPECT_EQ(dataset.FieldByName("V").AsString(), c.text);
    }
}

TEST(DatasetXml, DeclaredEncodingAndQuoting)
{
    const std::string field = "<FIELD attrname='N\xC3\x83O' fieldtype='string'/>";
    TClientDataSet dataset;
    dataset.LoadFromBytes(XmlFile(field, "<ROW N\xC3\x83O='\xC3\x87&#xE7;\xE2\x82\xAC' RowState=\"4\" />",
                                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"),
                          "u.xml");
    EXPECT_EQ(dataset.FieldByName("N\xC3O").AsString(), "\xC7\xE7\x80");
}

TEST(DatasetXml, MalformedPacketsAreReported)
{
    const std::string field = "<FIELD attrname=\"V\" fieldtype=\"i4\"/>";
    struct Case {
        std::string bytes;
        const char* problem;
    };
    const Case cases[] = {
        {"<PACKET/>", "the root element is <PACKET>"},
        {"<DATAPACKET><METADATA><FIELDS/></METADATA></DATAPACKET>", "<DATAPACKET> has no <ROWDATA>"},
        {"<DATAPACKET><ROWDATA/></DATAPACKET>", "has no <METADATA>"},
        {XmlFile(field, "<ROW V=\"12x\"/>"), "invalid value '12x' of field 'V' in row 1"},
        {XmlFile(field, "<ROW V=\"3000000000\"/>"), "invalid value"},
        {XmlFile(field, "<ROW V=\"1\" V=\"2\"/>"), "duplicate attribute V"},
        {XmlFile(field + field, ""), "duplicate field name 'V'"},
        {XmlFile("<FIELD attrname=\"V\" fieldtype=\"blob\"/>", ""), "unknown field type 'blob'"},
        {XmlFile("<FIELD fieldtype=\"i4\"/>", ""), "<FIELD> without attrname"},
        {XmlFile("<FIELD attrname=\"V\" fieldtype=\"nested\"><FIELDS/></FIELD>", ""), "nested dataset"},
        {XmlFile(field, "<ROW V=\"&nbsp;\"/>"), "unknown entity &nbsp;"},
        {XmlFile(field, "<ROW V=\"&#0;\"/>"), "invalid character reference"},
        {XmlFile(field, "<ROW V=\"&amp\"/>"), "unterminated entity"},
        {XmlFile(field, "<ROW V=\"<\"/>"), "'<' in an attribute value"},
        {XmlFile(field, "<ROW V=1/>"), "no quoted value"},
        {XmlFile(field, "<ROW>1</ROW>"), "unexpected text"},
        {XmlFile(field, "<ROW/></ROWDATA>"), "</ROWDATA> closes <DATAPACKET>"},
        {XmlFile(field, "<ROW/>") + "<DATAPACKET/>", "unexpected data after the root element"},
        {XmlFile(field, "<![CDATA[x]]>"), "unsupported markup"},
        {XmlFile(field, "", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), "unsupported XML encoding 'UTF-16'"},
        {"\xFF\xFE<\0D\0", "UTF-16 XML is not supported"},
        {std::string(40, '<') + ">", "invalid element name"},
        {"<DATAPACKET>" + std::string(4000, ' '), "<DATAPACKET> is not closed"},
    };
    for (const Case& c : cases) {
        const std::string error = LoadError(c.bytes, "p.xml");
        EXPECT_NE(error.find(c.problem), std::string::npos) << "wanted '" << c.problem << "', got '" << error << "'";
        EXPECT_EQ(error.rfind("p.xml: ", 0), 0u) << error;
    }
    std::string deep;
    for (int i = 0; i < 100; ++i)
        deep += "<A>";
    EXPECT_NE(LoadError(deep).find("nested too deeply"), std::string::npos);
}

TEST(DatasetWriter, WhatItWritesReadsBackTheSame)
{
    const std::string long_value(300, 'x');
    const StringDataset datasets[] = {
        {{"NRINSJURFILI"}, {{"12345678000195"}}},
        {{"NRINSJURFILI", "NMFILI", "OBS"},
         {{"12345678000195", "Loja S\xC3o Jo\xE3o & Cia <1>", std::nullopt},
          {"", "tab\there\r\nquote\" apos' \x80\xFF", "\x01"},
          {std::nullopt, long_value, ""}}},
        {{"NRINSJURFILI"}, {}},
        {{}, {{}, {}}},
    };
    for (const StringDataset& written : datasets) {
        for (const DatasetEncoding encoding : {DatasetEncoding::Binary, DatasetEncoding::Xml}) {
            SCOPED_TRACE(std::to_string(written.field_names.size()) + " fields, " +
                         (encoding == DatasetEncoding::Binary ? "binary" : "XML"));
            TClientDataSet dataset;
            dataset.LoadFromBytes(host::EncodeDataset(written, encoding), "w.cds");
            ASSERT_EQ(dataset.FieldNames(), written.field_names);
            ASSERT_EQ(dataset.RecordCount(), written.records.size());
            for (std::size_t r = 0; r < written.records.size(); ++r) {
                dataset.MoveTo(r);
                for (std::size_t f = 0; f < written.field_names.size(); ++f) {
                    const host::TField& field = dataset.FieldByName(written.field_names[f]);
                    EXPECT_EQ(field.IsNull(), !written.records[r][f].has_value());
                    EXPECT_EQ(field.AsString(), written.records[r][f].value_or(""));
                }
            }
        }
    }
}

TEST(DatasetWriter, RefusesWhatTheEncodingCannotHold)
{
    struct Case {
        StringDataset dataset;
        DatasetEncoding encoding;
    };
    const Case cases[] = {
        {{{"A", "A"}, {}}, DatasetEncoding::Binary},
        {{{""}, {}}, DatasetEncoding::Binary},
        {{{std::string(256, 'N')}, {}}, DatasetEncoding::Binary},
        {{{"A"}, {{"1", "2"}}}, DatasetEncoding::Binary},
        {{{"A"}, {{std::string(65536, 'v')}}}, DatasetEncoding::Binary},
        {{{"NR FILI"}, {}}, DatasetEncoding::Xml},
        {{{"1NR"}, {}}, DatasetEncoding::Xml},
        {{{"A"}, {{std::string("a\0b", 3)}}}, DatasetEncoding::Xml},
    };
    for (const Case& c : cases)
        EXPECT_THROW(host::EncodeDataset(c.dataset, c.encoding), std::invalid_argument);
}

TEST(DatasetFile, BranchParameterFileOnDisk)
{
    TempDir dir;
    const std::string path = (dir.path / "PARAMETROSVLX.CDS").string();
    for (const DatasetEncoding encoding : {DatasetEncoding::Binary, DatasetEncoding::Xml}) {
        host::SaveDataset({{"CDFILI", "NRINSJURFILI"}, {{"1", "12345678000195"}, {"2", "99"}}}, encoding, path);
        TClientDataSet dataset;
        dataset.LoadFromFile(path);
        EXPECT_TRUE(dataset.Active());
        EXPECT_FALSE(dataset.IsEmpty());
        EXPECT_EQ(dataset.FieldByName("NRINSJURFILI").AsString(), "12345678000195");
    }

    // A file of no records loads as empty; its fields read as null, a missing one is an error.
    host::SaveDataset({{"NRINSJURFILI"}, {}}, DatasetEncoding::Binary, path);
    TClientDataSet dataset;
    dataset.LoadFromFile(path);
    EXPECT_TRUE(dataset.IsEmpty());
    EXPECT_EQ(dataset.FieldByName("NRINSJURFILI").AsString(), "");
    EXPECT_THROW(dataset.MoveTo(0), EDatabaseError);
    try {
        (void)dataset.FieldByName("nrinsjurfili");
        ADD_FAILURE() << "field names are exact";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), path + ": Field 'nrinsjurfili' not found");
    }

    // A failed load names the file and keeps what the dataset held.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "MZ not a dataset";
    for (const std::string& bad : {path, (dir.path / "absent.cds").string(), dir.path.string()}) {
        try {
            dataset.LoadFromFile(bad);
            ADD_FAILURE() << bad << " loaded";
        } catch (const EDatabaseError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(bad + ": ", 0), 0u) << error.what();
        }
        EXPECT_EQ(dataset.FieldNames(), std::vector<std::string>{"NRINSJURFILI"});
    }
}

}  // namespace
