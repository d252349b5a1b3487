import type { TextOptions } from "./index.js";

export interface ElementOptions extends Omit<TextOptions, "html"> {
  /** The language of text that no lang attribute covers; such text is left alone without it. */
  lang?: string;
}

/**
 * Hyphenates the text under `root` in place, each text node in the language of its
 * nearest lang attribute, leaving script, style, pre, code, kbd, samp, var, textarea,
 * math, svg and title alone. Resolves to the number of text nodes changed.
 */
export function hyphenateElement(root: Element | Document, options?: ElementOptions): Promise<number>;
