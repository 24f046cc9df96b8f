#include "assimp_probe.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void countInChild(const std::string& path, int out)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    std::string line;
    if (!scene) {
        line = std::string("fail ") + importer.GetErrorString();
    } else {
        unsigned long vertices = 0, faces = 0;
        for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
            vertices += scene->mMeshes[i]->mNumVertices;
            faces += scene->mMeshes[i]->mNumFaces;
        }
        line = "ok " + std::to_string(scene->mNumMeshes) + " " + std::to_string(vertices) + " " +
               std::to_string(faces);
    }
    size_t written = 0;
    while (written < line.size()) {
        ssize_t n = write(out, line.data() + written, line.size() - written);
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
}

} // namespace

AssimpCounts probeWithAssimp(const std::string& path)
{
    AssimpCounts counts;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        counts.failure = "no pipe";
        return counts;
    }
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) {
        counts.failure = "no child process";
        return counts;
    }
    if (child == 0) {
        close(pipeFds[0]);
        countInChild(path, pipeFds[1]);
        _exit(0);
    }
    close(pipeFds[1]);
    std::string reply;
    char chunk[256];
    ssize_t n;
    while ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0)
        reply.append(chunk, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
        counts.failure = std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
        return counts;
    }
    if (reply.rfind("ok ", 0) == 0) {
        counts.ok = std::sscanf(reply.c_str() + 3, "%u %lu %lu", &counts.meshes, &counts.vertices,
                                &counts.faces) == 3;
        if (!counts.ok)
            counts.failure = "unreadable reply";
        return counts;
    }
    counts.failure = reply.rfind("fail ", 0) == 0 ? reply.substr(5) : "no reply";
    return counts;
}
