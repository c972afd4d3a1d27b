// The country detector used by the rule engine's country extraction: finds
// the countries a text names, from the list in Data/Country/countries.txt
// (Chinese names, English names and other names of every country).
#pragma once

#include <string>
#include <vector>

// Reads <init>/Data/Country/countries.txt: 1 on success, 0 when the list
// cannot be read or holds no country.
int CountryDetect_Init(const char* sInitDir);
void CountryDetect_Exit();
// Finds the countries named in a GBK text, in the order they first appear:
// their Chinese names (GBK) in vecCountries and their English names in
// vecEnglish. The number of countries found; -1 before CountryDetect_Init.
int CountryDetect_Compute(const char* sGbkText, std::vector<std::string>& vecCountries,
                          std::vector<std::string>& vecEnglish);
