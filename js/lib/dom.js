// Hyphenating a page: every text node under an element, in the language of
// its nearest lang attribute (the element's own, an ancestor's, or the
// document's), each language loaded once. Text inside script, style, pre,
// code, kbd, samp, var, textarea, math, svg and title is left alone, as the
// library's markup rules leave it; so are text nodes whose language liang
// does not carry ("zxx", "ja") or that have no lang at all unless
// options.lang names a fallback.
//
//   import { hyphenateElement } from "liang/dom";
//   await hyphenateElement(document.body, { hyphen: "\u00AD" });

import { load, loadTag } from "./index.js";

const kSkipped = "script,style,pre,code,kbd,samp,var,textarea,math,svg,title";

function languageOf(node) {
  const element = node.parentElement;
  if (!element || element.closest(kSkipped)) return undefined;
  const owner = element.closest("[lang]");
  return owner ? owner.getAttribute("lang") : null;
}

// Hyphenates the text under `root` in place; resolves to the number of text
// nodes changed. options: those of insertHyphens (hyphen, minWord, left,
// right, capitalized, allCaps), and lang, the language of text that no lang
// attribute covers.
export async function hyphenateElement(root, options = {}) {
  if (!root || typeof root.nodeType !== "number") {
    throw new TypeError("liang/dom: hyphenateElement needs a DOM element");
  }
  if (options === null || typeof options !== "object") {
    throw new TypeError("liang/dom: options must be an object");
  }
  const { lang, ...textOptions } = options;
  if (textOptions.html) throw new TypeError("liang/dom: text nodes are never markup");
  const fallback = lang === undefined ? null : await load(lang);

  const document = root.ownerDocument ?? root;
  const walker = document.createTreeWalker(root, 4 /* NodeFilter.SHOW_TEXT */);
  const work = [];
  const tags = new Map(); // tag -> Promise<Language | null>
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const tag = languageOf(node);
    if (tag === undefined || !/\p{L}/u.test(node.data)) continue;
    if (tag !== null && !tags.has(tag)) tags.set(tag, loadTag(tag));
    work.push([node, tag]);
  }
  const languages = new Map();
  for (const [tag, language] of tags) languages.set(tag, await language);

  let changed = 0;
  for (const [node, tag] of work) {
    const language = tag === null ? fallback : languages.get(tag);
    if (!language) continue;
    const text = language.insertHyphens(node.data, textOptions);
    if (text !== node.data) {
      node.data = text;
      ++changed;
    }
  }
  return changed;
}
