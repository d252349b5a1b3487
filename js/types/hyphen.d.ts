// The drop-in for npm hyphen: liang/hyphen/<language>.

export interface HyphenOptions {
  /** Put at every break: "\u00AD". */
  hyphenChar?: string;
  /** Words of fewer letters are left alone: 5. */
  minWordLength?: number;
  /** Words with "-" at their breaks, replacing the language's own: []. */
  exceptions?: string[];
  /** Logs each call's time. */
  debug?: boolean;
}

export function hyphenate(text: string, options?: HyphenOptions): Promise<string>;
export function hyphenateSync(text: string, options?: HyphenOptions): string;
export function hyphenateHTML(text: string, options?: HyphenOptions): Promise<string>;
export function hyphenateHTMLSync(text: string, options?: HyphenOptions): string;
