# Makes the HTML manual from the README: cmake -DMARKDOWN=<markdown_py> -DINPUT=README.md
# -DOUTPUT=<file> -DVERSION=<version> -P MakeManual.cmake
execute_process(COMMAND ${MARKDOWN} -e utf-8 -x extra -x toc ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the manual could not be made from ${INPUT}: ${failed}")
endif()
file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Relicor ${VERSION} manual</title>
<style>
body { max-width: 52em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.45; }
pre, code { font-family: monospace; background: #f4f4f4; }
pre { padding: .6em; overflow-x: auto; }
table { border-collapse: collapse; }
td, th { border: 1px solid #ccc; padding: .2em .5em; text-align: left; }
kbd { border: 1px solid #aaa; border-radius: 3px; padding: 0 .3em; }
</style>
</head>
<body>
${body}
</body>
</html>
")
