#include "emulator/sql/pg_sql_text.h"

#include <gtest/gtest.h>

namespace vtx::emu {
namespace {

TEST(PgSqlTextTest, TranslatesTheStoresDialect) {
  struct Case {
    const char* sqlite;
    const char* postgres;
  };
  const Case cases[] = {
      {"SELECT \"OBJECT_ID\" FROM \"TN_PART\" WHERE \"NAME\" = ? AND X = ?",
       "SELECT \"object_id\" FROM \"tn_part\" WHERE \"name\" = $1 AND X = $2"},
      {"UPDATE T SET A = ?2 WHERE B = ?1 AND C = ?", "UPDATE T SET A = $2 WHERE B = $1 AND C = $3"},
      {"SELECT 'it''s ? \"Q\"' FROM T", "SELECT 'it''s ? \"Q\"' FROM T"},
      {"CREATE TABLE K (TEXT TEXT, \"N\" INTEGER PRIMARY KEY, R real, PRIMARY KEY (TEXT, N))",
       "CREATE TABLE K (TEXT TEXT COLLATE \"C\", \"n\" BIGINT PRIMARY KEY, R DOUBLE PRECISION, "
       "PRIMARY KEY (TEXT, N))"},
      {"CREATE TABLE W (A INTEGER, PRIMARY KEY (A)) WITHOUT ROWID",
       "CREATE TABLE W (A BIGINT, PRIMARY KEY (A))"},
      {"SELECT max(ifnull((SELECT max(A) FROM T), 0), 1)",
       "SELECT greatest(coalesce((SELECT max(A) FROM T), 0), 1)"},
      {"SELECT A FROM T WHERE B IN (SELECT value FROM json_each(?1))",
       "SELECT A FROM T WHERE B IN (SELECT CAST(value AS BIGINT) FROM "
       "json_array_elements_text(CAST($1 AS json)))"},
      {"INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES (?1, ?2)",
       "INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES ($1, $2)"},
  };
  for (const Case& c : cases) EXPECT_EQ(TranslateToPg(c.sqlite).text, c.postgres) << c.sqlite;
  EXPECT_TRUE(TranslateToPg("SELECT 1").read_only);
  EXPECT_FALSE(TranslateToPg("WITH x AS (DELETE FROM T RETURNING A) SELECT * FROM x").read_only);
  EXPECT_FALSE(TranslateToPg("SAVEPOINT sp1").preparable);
  // Writes whose answer is only "done" may wait in the pipeline; one that returns rows may not.
  EXPECT_TRUE(
      TranslateToPg("INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES (?1, ?2)").holdable);
  EXPECT_FALSE(TranslateToPg("INSERT INTO T (A) VALUES (1) RETURNING A").holdable);
  EXPECT_FALSE(TranslateToPg("SELECT 1").holdable);
}

}  // namespace
}  // namespace vtx::emu
