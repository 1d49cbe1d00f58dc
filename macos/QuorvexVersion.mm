#import "Quorvex.h"

extern "C" {
double QuorvexVersionNumber = 1.0;
const unsigned char QuorvexVersionString[] = "@(#)PROGRAM:Quorvex  PROJECT:Quorvex-1\n";
}
