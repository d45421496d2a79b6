// DuckDB's own conversion of a CSV file to Parquet, the peer of Quorlin's Parquet export.
//   node duckdb_copy.cjs DUCKDB_PACKAGE_FOLDER INPUT.csv OUTPUT.parquet zstd|snappy
const path = require('path');
const { DuckDBInstance } = require(path.join(process.argv[2], 'node_modules/@duckdb/node-api'));
const quoted = text => "'" + text.replace(/'/g, "''") + "'";
(async () => {
  const db = await DuckDBInstance.create(':memory:');
  const connection = await db.connect();
  await connection.run('COPY (SELECT * FROM read_csv(' + quoted(process.argv[3]) + ')) TO ' +
                       quoted(process.argv[4]) + ' (FORMAT parquet, COMPRESSION ' + process.argv[5] + ')');
})().catch(error => {
  console.error(error.message);
  process.exit(1);
});
