// Recognises the encoding of plain-text input (uchardet, after a UTF-8
// validity check). Its model file lists the encodings it may answer.
#pragma once

#include <string>

// Reads the model file (one encoding name per line, '#' starts a comment).
// The number of encodings read, or -1 when the file cannot be read.
int EncodingRecogniser_Init(const char* sModelFile);
void EncodingRecogniser_Exit();
// The encoding of a text: "UTF-8", or the detector's answer when it is in
// the model's list, else "GB18030" (the safe reading of Chinese bytes).
std::string EncodingRecogniser_Detect(const std::string& sText);
