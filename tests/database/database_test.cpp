// Loads the generated documents into SQLite the way the game loads them, into mirrors of the
// game's gameplay, icon and localization databases with foreign keys enforced.
#include <expat.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "test_support.h"

namespace wondergen::testing {
namespace {

using DatabaseHandle = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

// The game hashes the names of kinds and types; any stable hash will do here.
void MakeHash(sqlite3_context* context, int, sqlite3_value** arguments) {
  const auto* text = sqlite3_value_text(arguments[0]);
  std::uint32_t hash = 2166136261u;
  for (; text != nullptr && *text != 0; ++text)
    hash = (hash ^ *text) * 16777619u;
  sqlite3_result_int64(context, static_cast<std::int32_t>(hash));
}

DatabaseHandle OpenDatabase(const std::string& fixture) {
  sqlite3* database = nullptr;
  sqlite3_open(":memory:", &database);
  DatabaseHandle handle(database, sqlite3_close);
  sqlite3_create_function(database, "Make_Hash", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                          MakeHash, nullptr, nullptr);
  char* error = nullptr;
  const std::string sql = "PRAGMA foreign_keys = ON;\n" +
                          ReadFile(std::string(WONDERGEN_DATABASE_FIXTURES) + "/" + fixture);
  sqlite3_exec(database, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(error, nullptr) << fixture << ": " << error;
  sqlite3_free(error);
  return handle;
}

// One row as the document gives it: a Row is inserted, a Replace inserted or replaced; its
// attributes and child elements are the columns.
struct DocumentRow {
  std::string table;
  bool replace = false;
  std::vector<std::pair<std::string, std::string>> columns;
};

struct RowReader {
  int depth = 0;
  std::string table;
  std::vector<DocumentRow> rows;
  std::string text;
};

std::vector<DocumentRow> ReadRows(const std::string& document) {
  RowReader reader;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* name, const XML_Char** attributes) {
        auto* reader = static_cast<RowReader*>(data);
        ++reader->depth;
        if (reader->depth == 2) reader->table = name;
        if (reader->depth == 3) {
          DocumentRow row{reader->table, std::string(name) == "Replace", {}};
          for (int i = 0; attributes[i] != nullptr; i += 2)
            row.columns.emplace_back(attributes[i], attributes[i + 1]);
          reader->rows.push_back(row);
        }
        reader->text.clear();
      },
      [](void* data, const XML_Char* name) {
        auto* reader = static_cast<RowReader*>(data);
        if (reader->depth == 4) reader->rows.back().columns.emplace_back(name, reader->text);
        --reader->depth;
      });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
    static_cast<RowReader*>(data)->text.append(text, static_cast<std::size_t>(length));
  });
  const bool parsed =
      XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) == XML_STATUS_OK;
  EXPECT_TRUE(parsed) << XML_ErrorString(XML_GetErrorCode(parser));
  XML_ParserFree(parser);
  return reader.rows;
}

bool IsBooleanColumn(sqlite3* database, const std::string& table, const std::string& column) {
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(database, ("PRAGMA table_info(\"" + table + "\")").c_str(), -1, &statement,
                     nullptr);
  bool boolean = false;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
    if (column == name) boolean = std::string(type) == "BOOLEAN";
  }
  sqlite3_finalize(statement);
  return boolean;
}

// Inserts the row as the game's loader does, "true" and "false" becoming 1 and 0 in boolean
// columns; returns SQLite's error, or "" on success.
std::string InsertRow(sqlite3* database, const DocumentRow& row) {
  std::string names, placeholders;
  for (const auto& [column, value] : row.columns) {
    names += (names.empty() ? "\"" : ", \"") + column + "\"";
    placeholders += placeholders.empty() ? "?" : ", ?";
  }
  const std::string sql = std::string(row.replace ? "INSERT OR REPLACE" : "INSERT") + " INTO \"" +
                          row.table + "\" (" + names + ") VALUES (" + placeholders + ")";
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(database, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    return sql + ": " + sqlite3_errmsg(database);
  }
  for (std::size_t i = 0; i < row.columns.size(); ++i) {
    const auto& [column, value] = row.columns[i];
    const int index = static_cast<int>(i + 1);
    if (IsBooleanColumn(database, row.table, column) && (value == "true" || value == "false")) {
      sqlite3_bind_int(statement, index, value == "true" ? 1 : 0);
    } else {
      sqlite3_bind_text(statement, index, value.c_str(), -1, SQLITE_TRANSIENT);
    }
  }
  const bool done = sqlite3_step(statement) == SQLITE_DONE;
  std::string error = done ? "" : sql + ": " + sqlite3_errmsg(database);
  sqlite3_finalize(statement);
  return error;
}

// Every row of the document into its database; the icon rows go to the icon database.
void Load(const std::string& document, sqlite3* database, sqlite3* icons = nullptr) {
  for (const DocumentRow& row : ReadRows(document)) {
    sqlite3* target = row.table == "IconDefinitions" ? icons : database;
    ASSERT_NE(target, nullptr) << "no database for " << row.table;
    EXPECT_EQ(InsertRow(target, row), "");
  }
}

// The rows of a query, each as its columns' texts joined by "|".
std::vector<std::string> Query(sqlite3* database, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(database, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
      << sql << ": " << sqlite3_errmsg(database);
  std::vector<std::string> rows;
  while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
    std::string row;
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      row += (column == 0 ? "" : "|") + std::string(text == nullptr ? "NULL" : text);
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  return rows;
}

std::vector<std::string> Sorted(std::vector<std::string> rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

struct DatabaseForm {
  std::string name;
  std::map<int, std::string> valueBoxes;  // by slot
};
void PrintTo(const DatabaseForm& form, std::ostream* out) {
  *out << form.name;
}

class GameDatabaseTest : public TempDirTest, public ::testing::WithParamInterface<DatabaseForm> {};

TEST_P(GameDatabaseTest, TheDocumentsLoadIntoTheGamesDatabases) {
  std::map<int, std::string> controls;
  for (const auto& [slot, value] : GetParam().valueBoxes)
    controls[ValueBoxId(slot)] = value;
  controls[TextBoxId(0)] = Cp936("奇观 & <名字>");
  const WrittenPackage package = GenerateInto(dir_, FormWith(controls));
  ASSERT_TRUE(package.failures.empty());

  const DatabaseHandle gameplay = OpenDatabase("gameplay_fixture.sql");
  const DatabaseHandle icons = OpenDatabase("icons_fixture.sql");
  const DatabaseHandle localization = OpenDatabase("localization_fixture.sql");
  Load(package.gameplayData, gameplay.get(), icons.get());
  Load(package.localization, localization.get());
  for (sqlite3* database : {gameplay.get(), icons.get(), localization.get()}) {
    EXPECT_EQ(Query(database, "PRAGMA foreign_key_check"), std::vector<std::string>{});
  }

  // One row per set field, with its value as an integer.
  std::vector<std::string> yields, greatPeople, greatWorks;
  for (const auto& [slot, value] : GetParam().valueBoxes) {
    if (!IsSet(value)) continue;
    const std::string row =
        std::string(kFieldCatalogue[slot].documentText).substr(1) + "|" + value + "|integer";
    if (kFieldCatalogue[slot].group == FieldGroup::kYield) yields.push_back("YIELD_" + row);
    if (kFieldCatalogue[slot].group == FieldGroup::kGreatPersonPoints)
      greatPeople.push_back("GREAT_PERSON_CLASS_" + row);
    if (kFieldCatalogue[slot].group == FieldGroup::kGreatWorkSlots)
      greatWorks.push_back("GREATWORKSLOT_" + row);
  }
  EXPECT_EQ(
      Sorted(Query(gameplay.get(),
                   "SELECT YieldType, YieldChange, typeof(YieldChange) "
                   "FROM Building_YieldChanges WHERE BuildingType = 'BUILDING_SOGMONUMENT2PD'")),
      Sorted(yields));
  EXPECT_EQ(Sorted(Query(gameplay.get(),
                         "SELECT GreatPersonClassType, PointsPerTurn, typeof(PointsPerTurn) "
                         "FROM Building_GreatPersonPoints")),
            Sorted(greatPeople));
  EXPECT_EQ(Sorted(Query(gameplay.get(),
                         "SELECT GreatWorkSlotType, NumSlots, typeof(NumSlots) "
                         "FROM Building_GreatWorks")),
            Sorted(greatWorks));

  // The building with its properties, or the game's defaults where they are not set.
  const auto property = [&](int slot, const std::string& unset) {
    const auto found = GetParam().valueBoxes.find(slot);
    return found != GetParam().valueBoxes.end() && IsSet(found->second) ? found->second : unset;
  };
  EXPECT_EQ(Query(gameplay.get(),
                  "SELECT b.Name, b.PrereqDistrict, b.PurchaseYield, b.Cost, b.AdvisorType, "
                  "b.MaxWorldInstances, b.IsWonder, b.RegionalRange, b.Entertainment, "
                  "b.CitizenSlots, b.Housing, b.OuterDefenseHitPoints, b.OuterDefenseStrength, "
                  "t.Kind, t.Hash != 0 FROM Buildings b JOIN Types t ON t.Type = b.BuildingType"),
            std::vector<std::string>{
                "LOC_BUILDING2PD_SOGMONUMENT_NAME|DISTRICT_CITY_CENTER|YIELD_GOLD|1|"
                "ADVISOR_GENERIC|1|1|10000000|" +
                property(22, "0") + "|" + property(23, "NULL") + "|" + property(24, "0") + "|" +
                property(25, "NULL") + "|" + property(26, "0") + "|KIND_BUILDING|1"});
  EXPECT_EQ(Query(gameplay.get(), "SELECT COUNT(*) FROM Building_ValidTerrains"),
            std::vector<std::string>{"11"});
  EXPECT_EQ(
      Query(gameplay.get(),
            "SELECT m.ModifierId, d.EffectType, a.Name, a.Value, bm.BuildingType "
            "FROM Modifiers m JOIN DynamicModifiers d USING (ModifierType) "
            "JOIN ModifierArguments a USING (ModifierId) "
            "JOIN BuildingModifiers bm USING (ModifierId)"),
      std::vector<std::string>{
          "SOGMONUMENT_ADDAPPEAL|EFFECT_ADJUST_CITY_APPEAL|Amount|2|BUILDING_SOGMONUMENT2PD"});
  EXPECT_EQ(
      Query(icons.get(), "SELECT Name, Atlas, \"Index\" FROM IconDefinitions ORDER BY 1"),
      (std::vector<std::string>{"ICON_BUILDING_SOGMONUMENT|ICON_ATLAS_BUILDINGS|99",
                                "ICON_BUILDING_SOGMONUMENT_FOW|ICON_ATLAS_BUILDINGS_FOW|99"}));

  EXPECT_EQ(Query(localization.get(), "SELECT Language, Tag, Text FROM LocalizedText ORDER BY Tag"),
            (std::vector<std::string>{
                "zh_Hans_CN|LOC_BUILDING2PD_SOGMONUMENT_NAME|圣女碑 ",
                "zh_Hans_CN|RIRNewBuilding2PD_DESCRIPTION|"
                "外星文明已经在地球上建立了观察站，他们将传授建造了圣女碑的城市科学技术和宗教知识 ",
                "zh_Hans_CN|RIRNewBuilding2PD_TEASER|"
                "外星文明已经在地球上建立了观察站，他们将传授建造了圣女碑的城市科学技术和宗教知识."
                "\t\t------"
                "制作:《vudazu》 ",
                "zh_Hans_CN|RIRNewBuilding2PD_Title|奇观 & <名字> "}));
}

std::map<int, std::string> EveryField() {
  std::map<int, std::string> values;
  for (int slot = 0; slot < kFieldCount; ++slot)
    values[slot] = std::to_string(10 * (slot + 1));
  return values;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, GameDatabaseTest,
    ::testing::Values(
        DatabaseForm{"Empty", {}}, DatabaseForm{"EveryField", EveryField()},
        DatabaseForm{"YieldsOnly", {{0, "25"}, {5, "1999"}}},
        DatabaseForm{"PropertiesOnly", {{22, "2"}, {23, "3"}, {24, "4"}, {25, "100"}, {26, "50"}}},
        DatabaseForm{"GreatPeopleAndWorks", {{6, "1"}, {14, "20"}, {15, "8"}, {21, "2"}}},
        DatabaseForm{"ZerosAreUnset", {{0, "0"}, {22, "0"}, {15, "0"}, {1, "7"}}}),
    [](const ::testing::TestParamInfo<DatabaseForm>& info) { return info.param.name; });

}  // namespace
}  // namespace wondergen::testing
