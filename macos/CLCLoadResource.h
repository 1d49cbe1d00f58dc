#import <Foundation/Foundation.h>

// Finds files of the resource bundle "Quorvex.bundle" that lies among the
// framework's resources. Both methods give an empty string when not found.
@interface CLCLoadResource : NSObject

- (NSString*)getBundlePath;
- (NSString*)getPathName:(NSString*)fileName;

@end
