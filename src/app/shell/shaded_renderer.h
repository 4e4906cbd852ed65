// Drawing the shaded 3-D view with OpenGL 3.3 core shaders: flat-lit triangles, their
// sides on top, back faces in a colour of their own, the selection tinted. Used by the
// 3-D View panel and, offscreen, by batch mode's --render-3d.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <QImage>
#include <QString>
#include <QSurfaceFormat>

#include "view/orbit_camera.h"
#include "view/shaded_mesh.h"

class QOpenGLBuffer;
class QOpenGLShaderProgram;
class QOpenGLVertexArrayObject;

// Colours of the picture, also what the tests look for (0-255 sRGB).
struct ShadedColours {
    static constexpr unsigned kBackground = 0xF0F2F6;
    static constexpr unsigned kFront = 0xB8BCC4;
    static constexpr unsigned kBack = 0x3C6CF0;  // a blue no lit grey face ever takes
    static constexpr unsigned kSelected = 0xD92919;
    static constexpr unsigned kEdge = 0x30343C;
};

class CShadedRenderer {
public:
    CShadedRenderer();
    ~CShadedRenderer();
    CShadedRenderer(const CShadedRenderer&) = delete;
    CShadedRenderer& operator=(const CShadedRenderer&) = delete;

    // With the context current: compiles the shaders and makes the buffers. False, with
    // the reason, when the context cannot run them.
    bool Initialize(QString* reason);
    // With the context current, before it goes: frees what Initialize made.
    void Release();

    // Makes the mesh the one drawn, sending the card only the parts of the arrays that
    // differ from what it holds. Returns the bytes sent.
    std::size_t Upload(const ShadedMesh& mesh);
    // Draws into the bound framebuffer of width x height device pixels.
    void Draw(const OrbitCamera& camera, int width, int height);

    const ModelBounds& Bounds() const { return m_bounds; }
    int Triangles() const { return m_triangles; }

private:
    std::size_t UploadArray(QOpenGLBuffer& buffer, std::vector<float>& held, const std::vector<float>& next);

    std::unique_ptr<QOpenGLShaderProgram> m_faces, m_marks;
    std::unique_ptr<QOpenGLVertexArrayObject> m_faceArray, m_markArray;
    std::unique_ptr<QOpenGLBuffer> m_faceBuffer, m_markBuffer;
    std::vector<float> m_heldCorners, m_heldMarks;  // what the card holds, to find what changed
    ModelBounds m_bounds;
    int m_triangles = 0;
    int m_markCount = 0;
};

// The picture --render-3d writes: the mesh drawn offscreen, or the note on an empty
// view. Makes its own context; fails with the reason when OpenGL is not available.
bool RenderShadedPicture(const ShadedMesh& mesh, const OrbitCamera& camera, int width, int height, QImage* picture,
                         QString* reason);

// OpenGL 3.3 core with a depth buffer: what the renderer asks every context for.
QSurfaceFormat ShadedSurfaceFormat();

// Whether OpenGL 3.3 can be had at all, and why not: the panel asks before it makes a
// widget that would need it.
bool OpenGlAvailable(QString* reason);
