#import "CLCLoadResource.h"

@implementation CLCLoadResource

- (NSString*)getBundlePath {
  try {
    NSBundle* framework = [NSBundle bundleForClass:[self class]];
    NSString* path = [framework pathForResource:@"Quorvex" ofType:@"bundle"];
    if (path != nil) return path;
  } catch (...) {
    // Not found, whatever the reason.
  }
  return @"";
}

- (NSString*)getPathName:(NSString*)fileName {
  try {
    NSString* bundlePath = [self getBundlePath];
    if ([bundlePath length] == 0) return @"";
    NSBundle* resources = [NSBundle bundleWithPath:bundlePath];
    if (resources == nil) return @"";
    NSString* name = [fileName lastPathComponent];
    if ([name length] == 0) return @"";
    NSString* path = [resources pathForResource:[name stringByDeletingPathExtension] ofType:[name pathExtension]];
    if (path != nil) return path;
  } catch (...) {
    // Not found, whatever the reason.
  }
  return @"";
}

@end
