// liang: hyphenation by Liang's pattern method in 73 languages.

/** A language of the catalogue: its tag (the pattern files' affix), its name and minima. */
export interface LanguageInfo {
  /** The affix of its pattern files, a BCP 47 tag: "de-1996", "en-us", "sh-latn". */
  tag: string;
  /** The library's name for it: "German_1996". */
  name: string;
  /** The fewest characters before the first break. */
  left: number;
  /** The fewest characters after the last break. */
  right: number;
}

/** Minima that replace the language's own when positive. */
export interface WordOptions {
  left?: number;
  right?: number;
}

/** How running text is hyphenated; the defaults are shown. */
export interface TextOptions {
  /** Put at every break: "\u00AD" (SOFT HYPHEN). */
  hyphen?: string;
  /** HTML, XHTML or XML: only text content is hyphenated, lang attributes followed: false. */
  html?: boolean;
  /** Words of fewer letters are left alone: 0. */
  minWord?: number;
  /** Minima that replace the language's own when positive: 0. */
  left?: number;
  right?: number;
  /** Whether words that begin with a capital are hyphenated: true. */
  capitalized?: boolean;
  /** Whether words in capitals are hyphenated: true. */
  allCaps?: boolean;
  /** Whether words with a capital after a small letter (iPhone) are hyphenated: false. */
  mixedCase?: boolean;
}

/** A loaded language. Its methods are synchronous. */
export class Language implements LanguageInfo {
  private constructor();
  readonly tag: string;
  readonly name: string;
  readonly left: number;
  readonly right: number;
  /** The pieces between which a hyphen may go; they join to `word`. */
  hyphenate(word: string, options?: WordOptions): string[];
  /** The UTF-16 indices where the pieces after the first begin. */
  positions(word: string, options?: WordOptions): number[];
  /** Builds now what the language builds on first use and after many words. */
  prepare(): void;
  /** Running text with a hyphen at every break of every word, all else unchanged. */
  insertHyphens(text: string, options?: TextOptions): string;
}

/**
 * The language a tag ("de-CH"), locale name ("de_DE.UTF-8"), affix ("de-1996") or
 * English name ("German") gives, loaded once. Rejects with an Error naming it when
 * liang has no such language; throws TypeError when `name` is not a string.
 */
export function load(name: string): Promise<Language>;

/** The language of a lang attribute, or null when liang has none for it ("zxx", "ja"). */
export function loadTag(tag: string): Promise<Language | null>;

/** The 73 languages liang carries. */
export function languages(): LanguageInfo[];

/** The index in languages() of a language name or tag, or -1 (nothing is loaded). */
export function findLanguage(name: string, options?: { tagOnly?: boolean }): Promise<number>;

/** `language` with more exceptions: words with "-" at their breaks. */
export function withExceptions(language: Language, entries: string[]): Language;

/** Bytes of the engine's heap in use. */
export function heapInUse(): Promise<number>;
