#pragma once
// `brontal-level sample DIR`: writes the sample level to DIR/LEVELS/LEVEL_001.VRM and its sky to
// DIR/SKY/Left.bmp, Right.bmp, Top.bmp, Bottom.bmp, Front.bmp and Back.bmp, making the
// directories as needed. The output is the same on every run.

namespace brontal {

// argv[0] is "sample", argv[1] the directory. Returns 0 on success, 1 after a message on stderr.
int SampleCommand(int argc, char** argv);

}  // namespace brontal
