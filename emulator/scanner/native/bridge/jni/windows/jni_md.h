// The JNI machine-dependent definitions for Windows, x86 and x64, as the
// JDK for Windows gives them: exports by dllexport, stdcall on x86.
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

// A build whose module-definition file names the exports may define
// JNIEXPORT empty, so that no second, differently decorated name is exported.
#ifndef JNIEXPORT
#define JNIEXPORT __declspec(dllexport)
#endif
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef __int64 jlong;
typedef signed char jbyte;

#endif
