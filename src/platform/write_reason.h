#pragma once

// Why a file could not be written, from the errno of the failed call, in the
// words both programs use (German, marked for translation in the context
// "zarnik-train", where the English texts are). EILSEQ is the refusal to
// append to a file that is no fitness history.
const char* WriteReasonText(int error);
