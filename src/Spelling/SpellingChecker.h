// The client of the spelling server: one HTTP POST per sentence to
// "http://<g_sSpellingHostIP>/get_maybe_sentence" with the body
// "sentence"="<text>", and the reading of its JSON answer. The address
// "local" sends nothing over the network: the sentence goes to a provider
// registered in this process (the built-in spelling service). Safe to call
// from several checks at once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Spelling/SpellCheckResult.h"

// One request. With encode 0 the text is GBK: it is sent as UTF-8 and the
// answer comes back as GBK; any other value means UTF-8 both ways. The
// answer body, or nothing on an empty line, a failed transfer, an HTTP
// error status or a local address without provider (each failure logged).
// A server that could not be reached or timed out is not asked again for
// 30 seconds: requests to it fail at once, without a new log line.
std::optional<std::string> SpellingChecker(const char* sLine, int encode);

// A request in UTF-8 and the corrections of its answer ("pred_sentences"[0]
// "detail"). False when the request fails, the answer is no JSON or has no
// sentence; true also when the sentence has no correction.
bool SpellingChecker(const char* sLine, std::vector<_spell_check_result>& results);

// Reads an answer body into corrections: 1, 0 when it has no sentence
// (then the corrections are empty), -1 when it is no JSON. No logging.
int ParseSpellingAnswer(const std::string& sAnswer, std::vector<_spell_check_result>& results);

// Limits of one request in milliseconds: to connect, and for the whole
// transfer. The defaults are 5000 each; values below 1 restore them.
void SetSpellingTimeouts(long nConnectMs, long nTotalMs);

// The provider that answers for the address "local": it gets the sentence
// in UTF-8 and returns the answer body in the server's JSON form. It is
// called from the threads of the checks, so it must be safe to call at
// once from several. An empty function removes it.
using SpellingProvider = std::function<std::string(const std::string& sSentenceUtf8)>;
void SetLocalSpellingProvider(SpellingProvider provider);
