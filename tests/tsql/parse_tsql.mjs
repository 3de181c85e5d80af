// Reads T-SQL with node-sql-parser (TransactSQL dialect): every statement of a recording (one JSON string a
// line, as AGGANCI_RECORD_STATEMENTS writes it), or every batch of a script (batches end at GO lines).
// A text the parser cannot read fails the check unless a known gap below explains it.
//   node parse_tsql.mjs --statements FILE     node parse_tsql.mjs --script FILE
import { readFileSync } from "node:fs";
import pkg from "node-sql-parser";

const { Parser } = pkg;
const parser = new Parser();

// Constructs SQL Server reads and this parser does not. A text is excused only by one of these, and where a
// gap can be taken out (`without`), the rest of the text must still be read.
const gaps = [
  { test: /\bINTO\s+##/i, why: "parser gap: SELECT ... INTO ##global_temporary_table (INTO #local is read)",
    without: (sql) => sql.replace(/\bINTO\s+##/gi, "INTO #") },
  { test: /^\s*CREATE\s+TABLE\b[\s\S]*\bCONSTRAINT\b/i,
    why: "parser gap: a named constraint on a column (col INT IDENTITY CONSTRAINT PK_x PRIMARY KEY); the table without the name is read",
    without: (sql) => sql.replace(/,\s*CONSTRAINT\s+\w+\s+(PRIMARY\s+KEY|UNIQUE)\s*\([^)]*\)/gi, "")
      .replace(/\s+CONSTRAINT\s+\w+\s+PRIMARY\s+KEY\b/gi, " PRIMARY KEY") },
  { test: /^\s*;\s*WITH\b/i, why: "parser gap: ';' before WITH (the terminator T-SQL wants before a CTE)",
    without: (sql) => sql.replace(/^\s*;/, "") },
  { test: /^\s*(IF\b.*\s)?DROP\s+PROCEDURE\s+\w+\.\w+/i,
    why: "parser gap: DROP PROCEDURE of a schema-qualified name; the statement without the schema is read",
    without: (sql) => sql.replace(/(DROP\s+PROCEDURE\s+)\w+\./i, "$1") },
  { test: /\bWITH\s*\(\s*READCOMMITTEDLOCK\s*\)/i,
    why: "parser gap: the table hint READCOMMITTEDLOCK (NOLOCK and the like are read); the text without it is read",
    without: (sql) => sql.replace(/\s+WITH\s*\(\s*READCOMMITTEDLOCK\s*\)/gi, "") },
  { test: /^\s*CREATE\s+PROC(EDURE)?\b/i, why: "parser gap: CREATE PROCEDURE is not in its grammar (checked by tsql_tests)" },
];

function withoutComments(sql) {
  return sql.replace(/'(?:[^']|'')*'|--[^\n]*/g, (m) => (m.startsWith("--") ? "" : m)).trim();
}

// The statements of a batch, split at ';' outside quotes and parentheses (a procedure stays whole).
function statements(batch) {
  if (/^\s*CREATE\s+PROC/i.test(batch)) return [batch];
  const out = [];
  let depth = 0, start = 0, quoted = false;
  for (let i = 0; i < batch.length; i++) {
    const c = batch[i];
    if (c === "'") quoted = !quoted;
    else if (!quoted && c === "(") depth++;
    else if (!quoted && c === ")") depth--;
    else if (!quoted && depth === 0 && c === ";") { out.push(batch.slice(start, i)); start = i + 1; }
  }
  out.push(batch.slice(start));
  return out.map((s) => s.trim()).filter((s) => s.length > 0);
}

function reads(sql) {
  try {
    parser.astify(withNamedMarkers(sql), { database: "transactsql" });
    return true;
  } catch {
    return false;
  }
}

// The '?' markers of ODBC, outside quotes, as the named parameters SQL Server's driver prepares them with.
function withNamedMarkers(sql) {
  let n = 0;
  return sql.replace(/'(?:[^']|'')*'|\?/g, (m) => (m === "?" ? `@P${++n}` : m));
}

function batches(text) {
  return text.split(/^\s*GO\s*$/im).map((b) => b.trim()).filter((b) => b.length > 0);
}

const [mode, file] = process.argv.slice(2);
if (!file || (mode !== "--statements" && mode !== "--script")) {
  console.error("usage: node parse_tsql.mjs --statements FILE | --script FILE");
  process.exit(2);
}
const text = readFileSync(file, "utf8");
const items = mode === "--statements"
  ? [...new Set(text.split("\n").filter((l) => l.trim()).map((l) => JSON.parse(l)))]
  : batches(text).map(withoutComments).flatMap(statements);

let read = 0;
const excused = new Map();
const failed = [];
for (const sql of items) {
  if (reads(sql)) {
    read++;
    continue;
  }
  const gap = gaps.find((g) => g.test.test(sql) && (!g.without || reads(g.without(sql))));
  if (gap) excused.set(gap.why, (excused.get(gap.why) || 0) + 1);
  else {
    let error = "";
    try { parser.astify(withNamedMarkers(sql), { database: "transactsql" }); } catch (e) { error = String(e.message).split("\n")[0]; }
    failed.push({ sql, error });
  }
}
console.log(`${file}: ${items.length} texts, ${read} read by the T-SQL parser`);
for (const [why, n] of excused) console.log(`  ${n} not read, ${why}`);
for (const f of failed) console.log(`  NOT READ: ${f.error}\n    ${f.sql.replace(/\s+/g, " ").slice(0, 400)}`);
process.exit(failed.length || items.length === 0 ? 1 : 0);
