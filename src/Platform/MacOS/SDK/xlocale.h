#pragma once
// Darwin's extended locale functions, which libc++ calls on Apple targets; glibc declares
// most of them in its own headers, the rest are declared here as xlocale(3) gives them.
// https://developer.apple.com/library/archive/documentation/System/Conceptual/ManPages_iPhoneOS/man3/xlocale.3.html
#include <locale.h>
#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif
int sscanf_l(const char* str, locale_t loc, const char* format, ...);
int snprintf_l(char* str, size_t size, locale_t loc, const char* format, ...);
int asprintf_l(char** ret, locale_t loc, const char* format, ...);
size_t mbrtowc_l(wchar_t* pwc, const char* s, size_t n, mbstate_t* ps, locale_t loc);
size_t wcrtomb_l(char* s, wchar_t wc, mbstate_t* ps, locale_t loc);
size_t mbsnrtowcs_l(wchar_t* dst, const char** src, size_t nms, size_t len, mbstate_t* ps, locale_t loc);
size_t wcsnrtombs_l(char* dst, const wchar_t** src, size_t nwc, size_t len, mbstate_t* ps, locale_t loc);
size_t mbsrtowcs_l(wchar_t* dst, const char** src, size_t len, mbstate_t* ps, locale_t loc);
wint_t btowc_l(int c, locale_t loc);
int wctob_l(wint_t c, locale_t loc);
int mbtowc_l(wchar_t* pwc, const char* s, size_t n, locale_t loc);
size_t mbrlen_l(const char* s, size_t n, mbstate_t* ps, locale_t loc);
struct lconv* localeconv_l(locale_t loc);
int ___mb_cur_max_l(locale_t loc);
#define MB_CUR_MAX_L(loc) ((size_t)___mb_cur_max_l(loc))
#ifdef __cplusplus
}
#endif
