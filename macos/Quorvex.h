// Umbrella header of the Quorvex framework.
#import <Foundation/Foundation.h>

#import "CLICsvConvDataCRS.h"
#import "CLICsvConvResultCRS.h"
#import "CLCLoadResource.h"

#ifdef __cplusplus
extern "C" {
#endif

FOUNDATION_EXPORT double QuorvexVersionNumber;
FOUNDATION_EXPORT const unsigned char QuorvexVersionString[];

#ifdef __cplusplus
}
#endif
