#!/usr/bin/env bash
# Usage: check_c_linkage.sh <nm> <library>
# Every function the parser headers declare is defined under its own name.
set -euo pipefail
nm_tool=$1
lib=$2
defined=$("$nm_tool" -g --defined-only "$lib" | awk '$2 ~ /^[TDRB]$/ {print $3}' | sort -u)
missing=0
for name in \
  ERRLOG_BugNew ERRLOG_LineBugNew ERRLOG_ErrorNew ERRLOG_LineErrorNew ERRLOG_WarnNew \
  ERRLOG_LineWarnNew ERRLOG_CautionNew ERRLOG_NoteNew ERRLOG_LineNoteNew \
  ERRLOG_Bugx ERRLOG_LineBugx ERRLOG_Errorx ERRLOG_LineErrorx ERRLOG_Warnx ERRLOG_LineWarnx \
  ERRLOG_Cautionx ERRLOG_LineCautionx ERRLOG_Notex ERRLOG_LineNotex \
  ERRLOG_SetOutputFile ERRLOG_SuppressBugs ERRLOG_SuppressErrors ERRLOG_SuppressWarns \
  ERRLOG_GetCounts ERRLOG_Totals BSearchErrorLogTable errorLogTable errorLogTableCount \
  gpLogFile gulBug_cnt gulError_cnt gulWarn_cnt gulCaution_cnt gbOldStyleErrors \
  gbSuppressCautions gbSuppressBugs gbSuppressErrors gbSuppressWarns \
  PARSE_GetLineNum PARSE_GetFileName PARSE_SetPosition \
  CMN_AssertFailed CMN_malloc CMN_realloc CMN_free CMN_freeSetNull CMN_StrMake CMN_StrMakeN \
  CMN_strncpy CMN_ultoa CMN_StrSameIC CMN_StrSameICn CMN_MatchKeyword CMN_ConvertToUpper \
  CMN_ConvertToLower CMN_AnyUpper CMN_ReservedWord CMN_ReservedWordErr CMN_IsWhitespace \
  CMN_EatWhitespace CMN_EatNonWhitespace CMN_EatKeyword CMN_TerminateEnd CMN_ArgParsePlus \
  CMN_ArgParse CMN_ArgFree CMN_SetStr CMN_SetKeywordStr CMN_SetFilenameStr \
  CMN_TestRequiredKeyword gbAllowAnyLineLength ReservedWords \
  GetParsedTree FreeParsedTree ISValidBuffer GetValueType s_setStringType ScanForNodes; do
  if ! grep -qx "$name" <<<"$defined"; then
    echo "not defined under its own name: $name"
    missing=1
  fi
done
[ "$missing" -eq 0 ] && echo "all names defined"
exit "$missing"
