// liang in Node: words, positions and running text, in two languages.
// In a project where the package is installed (npm install liang-<version>.tgz):
//   node hyphenate.mjs
import { languages, load } from "liang";

const de = await load("de");
console.log(de.hyphenate("Silbentrennung").join(" "));
console.log(de.positions("Silbentrennung").join(" "));

const en = await load("en-US");
console.log(en.insertHyphens("Hyphenation is tricky.", { hyphen: "-" }));
console.log(en.insertHyphens('<p>Hyphenation <code>hyphenation</code> <i lang="de">Silbentrennung</i></p>',
                             { hyphen: "-", html: true }));
console.log(`${languages().length} languages, ${languages().find((l) => l.tag === "hu").name}`);
